#include "base/regex/regex_object.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "base/regex/gbk_characters.h"
#include "base/regex/regex_compiler.h"
#include "base/regex/regex_matcher.h"
#include "base/regex/regex_replacement.h"
#include "base/text_encoders.h"

namespace lumenta {

namespace {

// One record of numbers per match, kept in blocks of a fixed size: the table grows without
// moving what it holds and without room it does not use beyond its last block, so a search
// with many matches touches little more memory than its records take.
class MatchTable {
 public:
  explicit MatchTable(size_t recordSize)
      : recordSize_(recordSize), perBlock_(std::max<size_t>(1, kBlockNumbers / recordSize)) {}

  // The next record, its numbers left for the caller to write.
  int32_t* Add() {
    const size_t at = count_ % perBlock_;
    if (at == 0) {
      blocks_.push_back(std::make_unique_for_overwrite<int32_t[]>(perBlock_ * recordSize_));
    }
    ++count_;
    return blocks_.back().get() + at * recordSize_;
  }
  [[nodiscard]] size_t size() const { return count_; }
  [[nodiscard]] const int32_t* operator[](size_t record) const {
    return blocks_[record / perBlock_].get() + (record % perBlock_) * recordSize_;
  }

 private:
  static constexpr size_t kBlockNumbers = 16384;  // 64 KiB
  size_t recordSize_;
  size_t perBlock_;
  size_t count_ = 0;
  std::vector<std::unique_ptr<int32_t[]>> blocks_;
};

}  // namespace

struct RegexObject::Result {
  explicit Result(size_t slotCount) : matches(slotCount + 1) {}
  Text pattern;
  Text subject;
  int groupCount = 0;
  // Per match: its 0-based character index, then slotCount byte offsets (-1: no part).
  MatchTable matches;
};

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool replaceQuotePlaceholder) {
  result_.reset();
  Text patternText =
      replaceQuotePlaceholder ? ReplaceQuotePlaceholder(AsText(pattern)) : Text(AsText(pattern));
  const std::optional<regex::Program> program =
      regex::Compile(gbk::Decode(patternText), {!caseSensitive, multiline});
  if (!program) return false;

  // Positions are reported as int: a subject they cannot address is refused.
  subject = AsText(subject);
  if (subject.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
  auto result = std::make_shared<Result>(program->SlotCount());
  result->pattern = std::move(patternText);
  result->subject = Text(subject);
  result->groupCount = program->groupCount;
  const gbk::Characters chars = gbk::Split(result->subject);
  const size_t n = chars.count;
  regex::Matcher matcher(*program, chars.units());
  gbk::ByteOffsets offsets(result->subject);
  std::vector<int32_t> slots;
  // A match's slots in rising order of their positions, so that their byte offsets take one
  // walk on from the match before; a group lies inside its match and matches follow each other.
  std::vector<std::pair<int32_t, size_t>> order;
  size_t from = 0;
  while (from <= n && matcher.Find(from, slots)) {
    int32_t* record = result->matches.Add();
    record[0] = slots[0];
    order.clear();
    for (size_t k = 0; k < slots.size(); ++k) {
      record[1 + k] = -1;
      if (slots[k] >= 0) order.emplace_back(slots[k], k);
    }
    std::sort(order.begin(), order.end());
    for (const auto& [position, k] : order) {
      record[1 + k] = static_cast<int32_t>(offsets.Of(static_cast<size_t>(position)));
    }
    if (!global) break;
    // After an empty match the next search starts one character further on.
    from = static_cast<size_t>(slots[1]) + (slots[1] == slots[0] ? 1 : 0);
  }
  result_ = std::move(result);
  return true;
}

Text RegexObject::GetPattern() const { return result_ ? result_->pattern : Text(); }

int RegexObject::MatchCount() const {
  return result_ ? static_cast<int>(result_->matches.size()) : 0;
}

const int32_t* RegexObject::Slots(int number) const {
  if (number < 1 || number > MatchCount()) return nullptr;
  return result_->matches[static_cast<size_t>(number - 1)] + 1;
}

Text RegexObject::GetMatch(int number, int* position) const {
  if (position) *position = -1;
  const int32_t* slots = Slots(number);
  if (!slots) return {};
  if (position) *position = slots[0];
  return result_->subject.substr(static_cast<size_t>(slots[0]),
                                 static_cast<size_t>(slots[1] - slots[0]));
}

Text RegexObject::GetSubMatch(int number, int group, int* position) const {
  if (position) *position = -1;
  const int32_t* slots = Slots(number);
  if (!slots || group < 1 || group > result_->groupCount) return {};
  const int32_t from = slots[2 * group], to = slots[2 * group + 1];
  if (from < 0 || to < from) return {};
  if (position) *position = from;
  return result_->subject.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

int RegexObject::SubMatchCount() const { return MatchCount() > 0 ? result_->groupCount : 0; }

int RegexObject::GetFirstIndex(int number) const {
  return Slots(number) ? result_->matches[static_cast<size_t>(number - 1)][0] : -1;
}

Text RegexObject::ReplaceAll(std::string_view replacement) const {
  if (!result_) return {};
  replacement = AsText(replacement);
  const Text& subject = result_->subject;
  Text out;
  out.reserve(subject.size());
  size_t copied = 0;
  for (int m = 1; m <= MatchCount(); ++m) {
    const int32_t* slots = Slots(m);
    out.append(subject, copied, static_cast<size_t>(slots[0]) - copied);
    regex::AppendReplacement(out, replacement, subject, slots, result_->groupCount);
    copied = static_cast<size_t>(slots[1]);
  }
  out.append(subject, copied);
  return out;
}

}  // namespace lumenta

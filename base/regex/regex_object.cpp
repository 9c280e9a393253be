#include "base/regex/regex_object.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "base/regex/gbk_characters.h"
#include "base/regex/regex_compiler.h"
#include "base/regex/regex_matcher.h"
#include "base/regex/regex_replacement.h"
#include "base/text_encoders.h"

namespace lumenta {

struct RegexObject::Result {
  Text pattern;
  Text subject;
  int groupCount = 0;
  size_t slotCount = 2;
  std::vector<int32_t> firstIndex;  // per match, in characters
  std::vector<int32_t> slots;       // per match, slotCount byte offsets (-1: no part)
};

bool RegexObject::Create(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool replaceQuotePlaceholder) {
  result_.reset();
  auto result = std::make_shared<Result>();
  result->pattern =
      replaceQuotePlaceholder ? ReplaceQuotePlaceholder(AsText(pattern)) : Text(AsText(pattern));
  const std::optional<regex::Program> program =
      regex::Compile(gbk::Decode(result->pattern), {!caseSensitive, multiline});
  if (!program) return false;

  // Positions are reported as int: a subject they cannot address is refused.
  subject = AsText(subject);
  if (subject.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
  result->subject = Text(subject);
  result->groupCount = program->groupCount;
  result->slotCount = program->SlotCount();
  const gbk::Characters chars = gbk::Split(result->subject);
  const size_t n = chars.count;
  regex::Matcher matcher(*program, chars.units());
  std::vector<int32_t> slots;
  size_t from = 0;
  while (from <= n && matcher.Find(from, slots)) {
    result->firstIndex.push_back(slots[0]);
    for (int32_t s : slots) {
      result->slots.push_back(s < 0 ? -1
                                    : static_cast<int32_t>(chars.offset(static_cast<size_t>(s))));
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
  return result_ ? static_cast<int>(result_->firstIndex.size()) : 0;
}

const int32_t* RegexObject::Slots(int number) const {
  if (number < 1 || number > MatchCount()) return nullptr;
  return result_->slots.data() + static_cast<size_t>(number - 1) * result_->slotCount;
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
  return Slots(number) ? result_->firstIndex[static_cast<size_t>(number - 1)] : -1;
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

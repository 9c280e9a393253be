// RegexObject on arbitrary patterns, subjects and replacements: it must never crash, hang or
// overflow the stack, and what it reports must be consistent with the subject. Inputs whose
// first byte asks for it run a short pattern over a long subject made by repeating the
// subject part (up to 4 KiB; the unit tests search 1 MiB subjects).
#include <algorithm>

#include "base/regex/regex_object.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const size_t repeat = data[1];
  auto parts = fuzz::SplitInput(data + 2, size - 2, 3);
  const std::string& pattern = parts[0];
  std::string subject(AsText(parts[1]));
  const std::string& replacement = parts[2];
  bool global = flags & 4;
  if ((flags & 48) == 48 && !subject.empty() && pattern.size() <= 64 &&
      pattern.find('{') == std::string::npos) {
    const size_t copies = std::min<size_t>(1 + repeat * 16, (4u << 10) / subject.size() + 1);
    std::string longer;
    longer.reserve(subject.size() * copies);
    for (size_t i = 0; i < copies; ++i) longer += subject;
    subject.swap(longer);
    global = false;  // one search: linear in the subject
  }

  RegexObject r;
  if (!r.Create(pattern, subject, flags & 1, flags & 2, global, flags & 8)) {
    fuzz::Require(r.MatchCount() == 0 && r.GetPattern().empty() && r.ReplaceAll("x").empty());
    return 0;
  }
  const int count = r.MatchCount();
  fuzz::Require(count >= 0 && (global || count <= 1));
  fuzz::Require(count == 0 || r.SubMatchCount() >= 0);
  int previousEnd = 0, previousIndex = -1;
  for (int m = 1; m <= count; ++m) {
    int position = -1;
    const Text text = r.GetMatch(m, &position);
    // A match is a piece of the subject, after the one before it, on a character boundary
    // that lies at or after its character index.
    fuzz::Require(position >= previousEnd);
    fuzz::Require(static_cast<size_t>(position) + text.size() <= subject.size());
    fuzz::Require(subject.compare(position, text.size(), text) == 0);
    const int index = r.GetFirstIndex(m);
    fuzz::Require(index > previousIndex && index <= position);
    previousIndex = index;
    previousEnd = position + static_cast<int>(text.size());
    for (int g = 1; g <= r.SubMatchCount(); ++g) {
      int groupPosition = -1;
      const Text group = r.GetSubMatch(m, g, &groupPosition);
      if (groupPosition < 0) {
        fuzz::Require(group.empty());
        continue;
      }
      fuzz::Require(groupPosition >= position &&
                    groupPosition + group.size() <= position + text.size());
      fuzz::Require(subject.compare(groupPosition, group.size(), group) == 0);
    }
  }
  const Text replaced = r.ReplaceAll(replacement);
  fuzz::Require(replaced.find('\0') == Text::npos);
  if (count == 0) fuzz::Require(replaced == subject);
  return 0;
}

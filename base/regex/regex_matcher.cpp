#include "base/regex/regex_matcher.h"

#include <algorithm>

#include "base/regex/case_folding.h"

namespace lumenta::regex {

Matcher::Matcher(const Program& program, std::u16string_view text)
    : program_(program), text_(text), slotCount_(program.SlotCount()) {
  queues_[0].Resize(program.code.size());
  queues_[1].Resize(program.code.size());
  work_.assign(slotCount_, -1);
}

bool Matcher::Holds(Assertion assertion, size_t pos) const {
  const size_t n = text_.size();
  switch (assertion) {
    case Assertion::kTextStart:
      return pos == 0;
    case Assertion::kTextEnd:
      return pos == n;
    case Assertion::kLineStart:
      return pos == 0 || IsLineTerminator(text_[pos - 1]);
    case Assertion::kLineEnd:
      return pos == n || IsLineTerminator(text_[pos]);
    case Assertion::kWordBoundary:
    case Assertion::kNotWordBoundary: {
      const bool before = pos > 0 && IsWordCharacter(text_[pos - 1]);
      const bool after = pos < n && IsWordCharacter(text_[pos]);
      return (before != after) == (assertion == Assertion::kWordBoundary);
    }
  }
  return false;
}

bool Matcher::Consumes(const Inst& inst, char16_t c, char16_t folded) const {
  switch (inst.op) {
    case Op::kChar:
      return folded == inst.ch;
    case Op::kAny:
      return !IsLineTerminator(c);
    case Op::kClass:
      return program_.classes[inst.x].Contains(c);
    default:
      return false;
  }
}

// Follows every non-consuming instruction from `pc` at position `pos`, depth first and in
// priority order, with the slots in work_; each consuming instruction (and Match) reached
// becomes a thread of `queue` with a copy of the slots at that point.
void Matcher::AddThread(Queue& queue, uint32_t start, size_t pos) {
  const auto& code = program_.code;
  stack_.clear();
  uint32_t pc = start;
  for (;;) {
    // Follow one path until it ends; branches not taken and slot values to restore wait on
    // the stack, in priority order.
    for (;;) {
      if (!queue.Visit(pc)) break;
      const Inst& inst = code[pc];
      if (inst.op == Op::kJump) {
        pc = inst.x;
      } else if (inst.op == Op::kSplit) {
        stack_.push_back(Branch(inst.y));
        pc = inst.x;
      } else if (inst.op == Op::kSave) {
        stack_.push_back(Restore(inst.x, work_[inst.x]));
        work_[inst.x] = static_cast<int32_t>(pos);
        ++pc;
      } else if (inst.op == Op::kAssert) {
        if (!Holds(inst.assertion, pos)) break;
        ++pc;
      } else {
        int32_t* to = queue.SlotsFor(queue.threads.size(), slotCount_);
        for (size_t k = 0; k < slotCount_; ++k) to[k] = work_[k];
        queue.threads.push_back({pc});
        break;
      }
    }
    for (;;) {
      if (stack_.empty()) return;
      const Frame frame = stack_.back();
      stack_.pop_back();
      const auto low = static_cast<uint32_t>(frame);
      if (low & kRestore) {
        work_[low & ~kRestore] = static_cast<int32_t>(static_cast<uint32_t>(frame >> 32));
        continue;
      }
      pc = low;
      break;
    }
  }
}

bool Matcher::Find(size_t from, std::vector<int32_t>& slots) {
  const size_t n = text_.size();
  if (from > n) return false;
  const FirstCharacters& first = program_.first;
  bool matched = false;
  current_->Clear();
  next_->Clear();
  for (size_t i = from;; ++i) {
    if (!matched) {
      if (current_->threads.empty()) {
        // No thread alive: what this step reached so far led nowhere, and the start may move.
        current_->Clear();
        if (first.useful) {
          // Jump to the next character that can begin a match.
          while (i < n && !first.Accepts(text_[i])) ++i;
          if (i >= n) break;
        }
      }
      // A new thread starting here, below every thread already running.
      std::fill(work_.begin(), work_.end(), -1);
      AddThread(*current_, 0, i);
    }
    if (current_->threads.empty()) {
      if (matched || i >= n) break;
      continue;  // nothing can start here (an assertion failed): try the next character
    }
    const bool more = i < n;
    const char16_t c = more ? text_[i] : 0;
    const char16_t folded = program_.ignoreCase ? FoldCase(c) : c;
    const size_t threads = current_->threads.size();
    for (size_t k = 0; k < threads; ++k) {
      const Thread t = current_->threads[k];
      const Inst& inst = program_.code[t.pc];
      const int32_t* from = current_->caps.data() + k * slotCount_;
      if (inst.op == Op::kMatch) {
        matched = true;
        slots.assign(from, from + slotCount_);
        break;  // the threads after this one have lower priority
      }
      const bool consumes =
          more && (inst.op == Op::kChar ? folded == inst.ch : Consumes(inst, c, folded));
      if (consumes) {
        for (size_t k = 0; k < slotCount_; ++k) work_[k] = from[k];
        AddThread(*next_, t.pc + 1, i + 1);
      }
    }
    std::swap(current_, next_);
    next_->Clear();
    if (!more) break;
  }
  return matched;
}

}  // namespace lumenta::regex

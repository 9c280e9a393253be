#pragma once
// The search of the regular-expression engine: a Pike VM, that is a Thompson NFA simulation
// that keeps its threads in priority order. It reads each subject character once per search,
// keeps at most one thread per instruction, never recurses, and gives the same match and
// groups as a backtracking engine would (leftmost, then the first alternative, greedy or lazy
// as written). Time is O(subject length x program size) per search; memory is O(program size
// x capture slots), independent of the subject.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/regex/regex_program.h"

namespace lumenta::regex {

class Matcher {
 public:
  Matcher(const Program& program, std::u16string_view text);
  Matcher(const Matcher&) = delete;  // it points into itself
  Matcher& operator=(const Matcher&) = delete;

  // The first match that starts at or after character `from` (0 to text length). On success
  // `slots` holds Program::SlotCount() character positions; a group that took no part is -1.
  // The text before `from` still counts for ^, $ and \b.
  [[nodiscard]] bool Find(size_t from, std::vector<int32_t>& slots);

 private:
  struct Thread {
    uint32_t pc;
  };
  // The threads of one step: a sparse set of the instructions already reached (so each is
  // entered once, by the thread of highest priority) and the consuming threads in order.
  struct Queue {
    std::vector<uint32_t> sparse, dense;
    uint32_t size = 0;
    std::vector<Thread> threads;
    std::vector<int32_t> caps;  // thread k's slots start at k * slot count; only ever grows
    void Resize(size_t instructions) {
      sparse.assign(instructions, 0);
      dense.assign(instructions, 0);
    }
    int32_t* SlotsFor(size_t thread, size_t slotCount) {
      const size_t needed = (thread + 1) * slotCount;
      if (caps.size() < needed) caps.resize(std::max(needed, caps.size() * 2));
      return caps.data() + thread * slotCount;
    }
    bool Visit(uint32_t pc) {  // false when already reached in this step
      const uint32_t i = sparse[pc];
      if (i < size && dense[i] == pc) return false;
      sparse[pc] = size;
      dense[size++] = pc;
      return true;
    }
    void Clear() {
      size = 0;
      threads.clear();
    }
  };
  // A pending branch of the closure (an instruction), or a slot value to put back once the
  // branch before it is done: the low half is the instruction, or kRestore | slot, the high
  // half the value. One 64-bit word, so that reading it back right after writing it is fast.
  using Frame = uint64_t;
  static constexpr uint32_t kRestore = 0x80000000u;
  static Frame Branch(uint32_t pc) { return pc; }
  static Frame Restore(uint32_t slot, int32_t value) {
    return (uint64_t{static_cast<uint32_t>(value)} << 32) | kRestore | slot;
  }

  void AddThread(Queue& queue, uint32_t pc, size_t pos);
  [[nodiscard]] bool Holds(Assertion assertion, size_t pos) const;
  // `c` is the subject character, `folded` its fold (the same when case matters).
  [[nodiscard]] bool Consumes(const Inst& inst, char16_t c, char16_t folded) const;

  const Program& program_;
  std::u16string_view text_;
  size_t slotCount_;
  Queue queues_[2];
  Queue* current_ = &queues_[0];  // the threads at the character being read
  Queue* next_ = &queues_[1];     // the threads after it
  std::vector<int32_t> work_;     // slots of the thread being followed through the closure
  std::vector<Frame> stack_;
};

}  // namespace lumenta::regex

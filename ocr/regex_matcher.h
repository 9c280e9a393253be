#pragma once
// The search of the regular-expression engine: a Pike VM, that is a Thompson NFA simulation
// that keeps its threads in priority order. It reads each subject character once per search,
// keeps at most one thread per instruction, never recurses, and gives the same match and
// groups as a backtracking engine would (leftmost, then the first alternative, greedy or lazy
// as written). Time is O(subject length x program size) per search; memory is O(program size
// x capture slots), independent of the subject.
#include <cstdint>
#include <string_view>
#include <vector>

#include "ocr/regex_program.h"

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
    uint32_t caps;  // offset of its slots in Queue::caps
  };
  // The threads of one step: a sparse set of the instructions already reached (so each is
  // entered once, by the thread of highest priority) and the consuming threads in order.
  struct Queue {
    std::vector<uint32_t> sparse, dense;
    uint32_t size = 0;
    std::vector<Thread> threads;
    std::vector<int32_t> caps;
    void Resize(size_t instructions) {
      sparse.assign(instructions, 0);
      dense.assign(instructions, 0);
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
      caps.clear();
    }
  };
  // A pending branch of the closure, or a slot value to put back after a branch is done.
  struct Frame {
    bool restore;
    uint32_t pc_or_slot;
    int32_t value;
  };

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
  std::vector<int32_t> work_;  // slots of the thread being followed through the closure
  std::vector<Frame> stack_;
};

}  // namespace lumenta::regex

#pragma once
// WordAutomation: the program-wide wrapper of the word processor's automation objects, created at
// start-up and destroyed by the exit hook. Its construction initialises COM for the user-interface
// thread (single-threaded apartment); its destruction releases the references it holds and
// uninitialises COM. It never quits a word processor left open for the user.
#include <oaidl.h>
#include <windows.h>

#include "ui/com_ptr_win.h"

namespace lumenta::app {

class WordAutomation {
 public:
  WordAutomation();
  ~WordAutomation();
  WordAutomation(const WordAutomation&) = delete;
  WordAutomation& operator=(const WordAutomation&) = delete;

  // Whether COM was initialised for this thread by the construction (false when the thread was
  // already in a multi-threaded apartment, where the automation calls cannot run).
  [[nodiscard]] bool comReady() const { return comReady_; }

 private:
  // The word processor's Application object; empty until created.
  ui::ComPtr<IDispatch> application_;
  // The current table, used by the table operations.
  ui::ComPtr<IDispatch> table_;
  // The text of the last first search, reused by find-next.
  VARIANT lastSearchText_;
  // The Find object of the Selection used by the last first search.
  ui::ComPtr<IDispatch> findObject_;

  bool comReady_ = false;
};

}  // namespace lumenta::app

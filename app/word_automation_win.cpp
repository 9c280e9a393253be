#include "app/word_automation_win.h"

#include <objbase.h>

namespace lumenta::app {

WordAutomation::WordAutomation() {
  VariantInit(&lastSearchText_);
  // S_FALSE (already initialised on this thread) counts too: each success is paired with one
  // CoUninitialize.
  comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

WordAutomation::~WordAutomation() {
  // The references go before COM does.
  findObject_.Reset();
  VariantClear(&lastSearchText_);
  table_.Reset();
  application_.Reset();
  if (comReady_) CoUninitialize();
}

}  // namespace lumenta::app

#include "base/pending_events.h"

namespace lumenta {
namespace {
PendingEventsPump g_pump = nullptr;
}

void ProcessPendingEvents() {
  if (g_pump) g_pump();
}

PendingEventsPump SetPendingEventsPump(PendingEventsPump pump) {
  PendingEventsPump previous = g_pump;
  g_pump = pump;
  return previous;
}

}  // namespace lumenta

#include "ui/message_box.h"

#include <utility>

namespace lumenta::ui {
namespace {
MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}
}  // namespace

void ShowMessage(std::string_view text) {
  if (Sink()) {
    // A copy: the sink may replace itself while it runs.
    MessageSink sink = Sink();
    sink(Text(text));
    return;
  }
  ShowSystemMessage(text);
}

MessageSink SetMessageSink(MessageSink sink) { return std::exchange(Sink(), std::move(sink)); }

MessageRecorder::MessageRecorder()
    : previous_(SetMessageSink([this](const Text& text) { texts_.push_back(text); })) {}

MessageRecorder::~MessageRecorder() { SetMessageSink(std::move(previous_)); }

}  // namespace lumenta::ui

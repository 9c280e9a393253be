#pragma once
// The program's message box: every message it shows is the message text with an OK button only,
// no icon, the title "信息：", no owner window, task-modal (the user dismisses it before working on
// with any of the program's windows).
//
// ShowMessage goes through a seam so that tests can record the texts instead of showing a box.
// The default is the real MessageBoxW in the Windows builds; the native build, which has no
// display, writes "信息：" and the text to standard error.
#include <functional>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumenta::ui {

// Shows `text` (GBK) and returns when the user has dismissed it.
void ShowMessage(std::string_view text);

// Replaces what ShowMessage does (an empty function restores the default); returns the previous
// replacement (empty when the default was in place).
using MessageSink = std::function<void(const Text& text)>;
MessageSink SetMessageSink(MessageSink sink);

// The default behind the seam (the platform's message box).
void ShowSystemMessage(std::string_view text);

// Replaces ShowMessage for its lifetime and keeps every text shown, in order.
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<Text>& texts() const { return texts_; }
  void Clear() { texts_.clear(); }

 private:
  std::vector<Text> texts_;
  MessageSink previous_;
};

}  // namespace lumenta::ui

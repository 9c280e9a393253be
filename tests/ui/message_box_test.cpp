// The message seam: a recorder takes the texts instead of the system's message box, and puts the
// previous behaviour back when it goes.
#include "ui/message_box.h"

#include <gtest/gtest.h>

namespace lumenta::ui {
namespace {

TEST(MessageRecorder, KeepsEveryTextInOrder) {
  MessageRecorder recorder;
  ShowMessage("\xC7\xEB\xD1\xA1\xD4\xF1");  // 请选择
  ShowMessage("second");
  EXPECT_EQ(recorder.texts(), (std::vector<Text>{"\xC7\xEB\xD1\xA1\xD4\xF1", "second"}));
}

TEST(MessageRecorder, NestedRecordersRestoreTheOuterOne) {
  MessageRecorder outer;
  {
    MessageRecorder inner;
    ShowMessage("inner");
    EXPECT_EQ(inner.texts().size(), 1u);
  }
  ShowMessage("outer");
  EXPECT_EQ(outer.texts(), (std::vector<Text>{"outer"}));
}

TEST(MessageSink, ASinkCanReplaceItselfWhileItRuns) {
  std::vector<Text> seen;
  SetMessageSink([&](const Text& text) {
    seen.push_back(text);
    SetMessageSink([&](const Text& later) { seen.push_back("later:" + later); });
  });
  ShowMessage("a");
  ShowMessage("b");
  SetMessageSink({});
  EXPECT_EQ(seen, (std::vector<Text>{"a", "later:b"}));
}

}  // namespace
}  // namespace lumenta::ui

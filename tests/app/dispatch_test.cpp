// Late-bound calls by member name against a recording automation object: what reaches the
// callee (member, argument order, named and by-reference arguments, texts), what comes back,
// how failures are reported, and that every intermediate object is released.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/recording_dispatch_win.h"
#include "win/dispatch_win.h"

namespace lumenta::win {
namespace {

using testing::DispatchJournal;
using Calls = std::vector<std::string>;

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    root_ = journal_.Root("Root");
  }
  void TearDown() override {
    root_.Reset();
    EXPECT_EQ(journal_.liveObjects, 0);
    CoUninitialize();
  }

  DispatchJournal journal_;
  win::ComPtr<IDispatch> root_;
};

TEST_F(DispatchTest, ReadsAPropertyAndConvertsItsValue) {
  journal_.answers["Root.Count"] = Int(3);
  CallResult count = GetProperty(root_.get(), L"Count");
  ASSERT_TRUE(count.ok());
  EXPECT_EQ(count.value.ToInt(), 3);
  EXPECT_EQ(count.value.ToText(), "3");
  EXPECT_EQ(journal_.calls, Calls{"get Root.Count"});
}

TEST_F(DispatchTest, WritesAPropertyThatAFollowingReadReturns) {
  EXPECT_EQ(PutProperty(root_.get(), L"Visible", Bool(true)), S_OK);
  EXPECT_EQ(GetProperty(root_.get(), L"Visible").value.ToBool(), true);
  EXPECT_EQ(journal_.calls, (Calls{"put Root.Visible = true", "get Root.Visible"}));
}

TEST_F(DispatchTest, WalksAMemberPathAndReleasesEveryObjectOnTheWay) {
  {
    CallResult replacement = GetProperty(root_.get(), L"Selection.Find.Replacement");
    ASSERT_TRUE(replacement.ok());
    EXPECT_TRUE(replacement.object());
    // The root and the object returned; Selection and Find are already gone.
    EXPECT_EQ(journal_.liveObjects, 2);
  }
  EXPECT_EQ(journal_.liveObjects, 1);
  EXPECT_EQ(PutProperty(root_.get(), L"Selection.Font.Color", Int(255)), S_OK);
  EXPECT_EQ(journal_.liveObjects, 1);
  EXPECT_EQ(journal_.calls,
            (Calls{"get Root.Selection", "get Root.Selection.Find",
                   "get Root.Selection.Find.Replacement", "get Root.Selection",
                   "get Root.Selection.Font", "put Root.Selection.Font.Color = 255"}));
}

TEST_F(DispatchTest, PassesPositionalArgumentsInTheirOrder) {
  EXPECT_TRUE(CallMethod(root_.get(), L"Selection.MoveRight",
                         {Int(1), Int(2), Str("\xCA\xB6\xB1\xF0"), Bool(false), Missing()})
                  .ok());
  EXPECT_EQ(journal_.calls.back(),
            "call Root.Selection.MoveRight(1, 2, \"\xE8\xAF\x86\xE5\x88\xAB\", false, missing)");
  EXPECT_EQ(journal_.liveObjects, 1);
}

TEST_F(DispatchTest, PassesNamedArgumentsAfterThePositionalOnes) {
  CallResult opened = CallMethod(root_.get(), L"Documents.Open", {Str("C:\\a.docx")},
                                 {{L"ReadOnly", Bool(true)}, {L"Visible", Int(0)}});
  EXPECT_TRUE(opened.ok());
  EXPECT_EQ(journal_.calls.back(),
            "call Root.Documents.Open(\"C:\\a.docx\", ReadOnly:=true, Visible:=0)");
}

TEST_F(DispatchTest, PassesArgumentsByReferenceAndSeesWhatTheCalleeWroteIntoThem) {
  journal_.writeBack["Root.Find.Execute"] = Str("changed");
  journal_.answers["Root.Find.Execute"] = Bool(true);
  Variant text = Str("abc");
  Variant forward = Bool(true);
  CallResult found = CallMethod(root_.get(), L"Find.Execute", {},
                                {{L"FindText", Arg::ByRef(text)},
                                 {L"Forward", Arg::ByRef(forward)},
                                 {L"Format", Bool(false)}});
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(found.value.ToBool(), true);
  EXPECT_EQ(journal_.calls.back(),
            "call Root.Find.Execute(FindText:=&\"abc\", Forward:=&true, Format:=false)");
  EXPECT_EQ(text.ToText(), "changed");
  EXPECT_EQ(forward.ToText(), "changed");
}

TEST_F(DispatchTest, PassesAnObjectAsAnArgument) {
  CallResult range = GetProperty(root_.get(), L"Selection.Range");
  ASSERT_TRUE(range.ok());
  CallResult added = CallMethod(root_.get(), L"Tables.Add", {Object(range.object().get()), Int(2)});
  EXPECT_TRUE(added.ok());
  EXPECT_EQ(journal_.calls.back(), "call Root.Tables.Add(Root.Selection.Range, 2)");
}

struct FailureCase {
  const char* what;
  const wchar_t* path;
  HRESULT expected;
  Calls reached;
};

TEST_F(DispatchTest, ReportsEveryFailureAsAResultAndLeaksNothing) {
  journal_.unknownNames = {"Nothing"};
  journal_.failures["Root.Broken"] = static_cast<HRESULT>(0x800A1066);
  journal_.failures["Root.Selection.Fails"] = static_cast<HRESULT>(0x800A1066);
  journal_.answers["Root.Name"] = Str("text");
  const FailureCase cases[] = {
      {"an unknown member", L"Nothing", DISP_E_UNKNOWNNAME, {}},
      {"an unknown member on the way", L"Nothing.Else", DISP_E_UNKNOWNNAME, {}},
      {"an exception of the callee",
       L"Broken",
       static_cast<HRESULT>(0x800A1066),
       {"call Root.Broken()"}},
      {"an exception deeper in the path",
       L"Selection.Fails",
       static_cast<HRESULT>(0x800A1066),
       {"get Root.Selection", "call Root.Selection.Fails()"}},
      {"a failing object on the way",
       L"Broken.Member",
       static_cast<HRESULT>(0x800A1066),
       {"get Root.Broken"}},
      {"a value that is no object on the way",
       L"Name.Length",
       DISP_E_TYPEMISMATCH,
       {"get Root.Name"}},
      {"an empty member name", L"Selection..Find", DISP_E_UNKNOWNNAME, {"get Root.Selection"}},
      {"an empty path", L"", DISP_E_UNKNOWNNAME, {}},
  };
  for (const FailureCase& c : cases) {
    journal_.Clear();
    CallResult result = CallMethod(root_.get(), c.path);
    EXPECT_EQ(result.status, c.expected) << c.what;
    EXPECT_FALSE(result.ok()) << c.what;
    EXPECT_TRUE(result.value.empty()) << c.what;
    EXPECT_FALSE(result.object()) << c.what;
    EXPECT_EQ(journal_.calls, c.reached) << c.what;
    EXPECT_EQ(journal_.liveObjects, 1) << c.what;
  }
  EXPECT_EQ(GetProperty(nullptr, L"Visible").status, E_POINTER);
  EXPECT_EQ(PutProperty(nullptr, L"Visible", Bool(true)), E_POINTER);
  EXPECT_EQ(PutProperty(root_.get(), L"Broken.Visible", Bool(true)),
            static_cast<HRESULT>(0x800A1066));
}

TEST(Variant, ConvertsByTheAutomationRules) {
  EXPECT_EQ(Int(-1).ToBool(), true);
  EXPECT_EQ(Int(0).ToBool(), false);
  EXPECT_EQ(Str("42").ToInt(), 42);
  EXPECT_EQ(Str("-1").ToBool(), true);
  EXPECT_EQ(Bool(true).ToInt(), -1);
  EXPECT_EQ(Double(2.5).ToDouble(), 2.5);
  EXPECT_EQ(Str("abc").ToInt(), std::nullopt);
  EXPECT_EQ(Str("").ToText(), "");
  // What cannot be held in GBK comes back as the code page's default character.
  EXPECT_EQ(WStr(L"a\xD55C"
                 L"b")
                .ToText(),
            "a?b");
  EXPECT_EQ(WStr(L"a\xD55C"
                 L"b")
                .ToWide(),
            L"a\xD55C"
            L"b");
  EXPECT_EQ(Str("\xCA\xB6\xB1\xF0").ToWide(), L"\x8BC6\x522B");
}

TEST(Variant, HasNoValueWhenEmptyOrLeftOut) {
  for (const Variant& nothing : {Variant(), Missing()}) {
    EXPECT_EQ(nothing.ToBool(), std::nullopt);
    EXPECT_EQ(nothing.ToInt(), std::nullopt);
    EXPECT_EQ(nothing.ToText(), std::nullopt);
    EXPECT_FALSE(nothing.ToDispatch());
  }
}

// A by-reference value, as a callee receives one: clearing it frees nothing.
Variant ReferenceTo(Variant& target) {
  VARIANT reference;
  VariantInit(&reference);
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = target.get();
  return Variant::Adopt(reference);
}

TEST(Variant, ReadsThroughAReferenceAndFindsNoValueBehindAnEmptyOne) {
  Variant number = Int(5);
  Variant empty;
  EXPECT_EQ(ReferenceTo(number).ToInt(), 5);
  EXPECT_EQ(ReferenceTo(number).ToText(), "5");
  EXPECT_EQ(ReferenceTo(empty).ToBool(), std::nullopt);
  EXPECT_EQ(ReferenceTo(empty).ToInt(), std::nullopt);
}

TEST(Variant, CopiesAndMovesKeepOneOwnerPerValue) {
  DispatchJournal journal;
  {
    win::ComPtr<IDispatch> root = journal.Root("Root");
    Variant held = Object(root.get());
    Variant copy = held;
    Variant moved = std::move(held);
    EXPECT_TRUE(held.empty());
    EXPECT_EQ(copy.ToDispatch().get(), root.get());
    EXPECT_EQ(moved.ToDispatch().get(), root.get());
    Variant byReference = Str("x");
    byReference = copy;
    EXPECT_EQ(byReference.type(), VT_DISPATCH);
  }
  EXPECT_EQ(journal.liveObjects, 0);
}

}  // namespace
}  // namespace lumenta::win

#pragma once
// A scriptable automation object for tests: it accepts any member name, writes every call into a
// journal ("get A.B", "put A.B = 1", "call A.B.C(1, Name:=&\"x\")") and answers reads and calls
// with another such object named by its path, unless the test scripted a value or a failure for
// that path. Property writes are remembered, so a later read returns the written value. The
// journal counts the live objects, which shows whether a caller released what it obtained.
#include <oaidl.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "win/com_win.h"
#include "win/variant_win.h"

namespace lumenta::testing {

struct DispatchJournal {
  std::vector<std::string> calls;  // UTF-8
  int liveObjects = 0;
  // Answers to reads and calls, by path with arguments ("Root.Exists(\"a\")") or, for any
  // arguments, without them ("Root.Documents.Count").
  std::map<std::string, win::Variant> answers;
  // Paths (with or without arguments) whose invocation raises an exception with this code.
  std::map<std::string, HRESULT> failures;
  // Member names GetIDsOfNames does not know.
  std::set<std::string> unknownNames;
  // A value the callee writes into every argument it receives by reference, by path.
  std::map<std::string, win::Variant> writeBack;

  // A new object at the root of the journal's paths.
  win::ComPtr<IDispatch> Root(const std::string& name);
  void Clear() { calls.clear(); }

  // Interned member names (DISPIDs are indexes into this list, starting at 1).
  std::vector<std::wstring> names;
  // Paths of the live recording objects, to show an object passed as an argument.
  std::map<const IDispatch*, std::string> paths;
};

// UTF-16 to UTF-8, for journal lines and expectations.
std::string ToUtf8(std::wstring_view text);

}  // namespace lumenta::testing

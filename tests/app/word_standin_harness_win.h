#pragma once
// What the tests need around the word processor's stand-in: registering it in the test prefix
// under HKEY_CLASSES_ROOT (Wine's ProgID lookup reads only there), unregistering it to play a
// machine without the word processor, a fresh journal file per test, and the number of the
// stand-in's objects still alive.
#include <string>
#include <vector>

namespace lumenta::testing {

class WordStandIn {
 public:
  // Registers the DLL that sits beside the test program and keeps it loaded, so its live-object
  // count can be read even after COM has let go of it. Points the journal at a new file and
  // clears the stand-in's switches.
  WordStandIn();
  // Unregisters it and removes the journal.
  ~WordStandIn();
  WordStandIn(const WordStandIn&) = delete;
  WordStandIn& operator=(const WordStandIn&) = delete;

  static bool Register();
  static void Unregister();
  static bool IsRegistered();

  bool ok() const { return ok_; }
  // The journal so far, one entry per line.
  std::vector<std::string> Journal() const;
  // Lines of the journal that start with `prefix`.
  std::vector<std::string> JournalLines(const std::string& prefix) const;
  long LiveObjects() const;

  static void SetWrap(bool on);
  static void SetRunFails(bool on);

 private:
  bool ok_ = false;
  std::wstring logPath_;
  void* module_ = nullptr;
};

// The folder of the running test program, without a trailing backslash.
std::wstring ProgramFolder();

}  // namespace lumenta::testing

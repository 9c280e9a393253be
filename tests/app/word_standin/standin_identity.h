#pragma once
// How the word processor's stand-in is known to COM: its class id, the ProgID it is registered
// under, and the environment variables through which a test steers it (read when an Application
// is created):
//
//   LUMENTA_WORD_STANDIN_LOG        file that receives one UTF-8 line per call and per colour
//   change LUMENTA_WORD_STANDIN_WRAP       "1": a search that reaches the end of the document goes
//   on
//                                   from its beginning (as with the word processor's "continue"
//                                   wrap setting)
//   LUMENTA_WORD_STANDIN_RUN_FAILS  "1": putting a new Application into the running state fails

namespace lumenta::standin {

inline constexpr wchar_t kClsid[] = L"{BA7805FA-2AD8-4936-818C-4F0C6DDC8E6B}";
inline constexpr wchar_t kProgId[] = L"WORD.Application";
inline constexpr wchar_t kDllName[] = L"word_standin.dll";

inline constexpr wchar_t kLogVariable[] = L"LUMENTA_WORD_STANDIN_LOG";
inline constexpr wchar_t kWrapVariable[] = L"LUMENTA_WORD_STANDIN_WRAP";
inline constexpr wchar_t kRunFailsVariable[] = L"LUMENTA_WORD_STANDIN_RUN_FAILS";

// Exported by the DLL: the number of its automation objects still alive in this process.
inline constexpr char kLiveObjectsExport[] = "StandInLiveObjects";
using LiveObjectsFunction = long (*)();
// Exported by the DLL: writes the journal lines collected so far to the journal file.
inline constexpr char kFlushJournalExport[] = "StandInFlushJournal";
using FlushJournalFunction = void (*)();

}  // namespace lumenta::standin

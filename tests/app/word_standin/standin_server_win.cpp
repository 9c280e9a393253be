// The in-process server around the stand-in: its class factory and the DLL entry points COM calls
// (DllGetClassObject, DllCanUnloadNow), plus the live-object count the tests read.
#include <objbase.h>
#include <windows.h>

#include <atomic>

#include "tests/app/word_standin/standin_dispatch_win.h"
#include "tests/app/word_standin/standin_identity.h"
#include "tests/app/word_standin/standin_log_win.h"
#include "tests/app/word_standin/standin_word_win.h"

namespace lumenta::standin {
namespace {

std::atomic<long> g_serverLocks{0};

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory for the life of the DLL.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* application = NewApplication();
    const HRESULT status = application->QueryInterface(iid, out);
    application->Release();
    return status;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    g_serverLocks += lock ? 1 : -1;
    return S_OK;
  }
};

Factory g_factory;

}  // namespace
}  // namespace lumenta::standin

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  using namespace lumenta::standin;
  if (!out) return E_POINTER;
  *out = nullptr;
  CLSID ours;
  if (FAILED(CLSIDFromString(kClsid, &ours)) || !IsEqualCLSID(clsid, ours)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  using namespace lumenta::standin;
  return LiveObjects() == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" long StandInLiveObjects() { return lumenta::standin::LiveObjects(); }

extern "C" void StandInFlushJournal() {
  lumenta::standin::FlushLog();
  lumenta::standin::ReloadLogSettings();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) lumenta::standin::FlushLog();
  return TRUE;
}

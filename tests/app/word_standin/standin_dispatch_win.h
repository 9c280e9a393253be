#pragma once
// The IDispatch plumbing every object of the stand-in shares: a fixed table of members, each with
// its parameter names in the word processor's order, name lookup without regard to case, named
// and by-reference arguments resolved to positions, one journal line per call, and the
// disconnection of every object once its application has quit.
#include <oaidl.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumenta::standin {

// State shared by one Application and every object reached through it.
struct Session;

struct Member {
  const wchar_t* name;
  std::vector<const wchar_t*> parameters;
};

// One call as the member sees it: arguments by parameter position, references read through.
class Call {
 public:
  Call(WORD flags, DISPPARAMS* params, std::span<const Member> members, int member);

  bool put() const { return put_; }
  bool get() const { return !put_; }
  // The argument for parameter `position`, or nullptr when it was left out.
  const VARIANT* Argument(size_t position) const;
  const VARIANT* PutValue() const { return putValue_; }

  std::optional<long> Int(size_t position) const;
  std::optional<bool> Bool(size_t position) const;
  std::optional<std::wstring> Text(size_t position) const;

  // "Member(1, Name:=&\"x\")" or "Member = 1", for the journal.
  const std::string& Shown() const { return shown_; }
  bool valid() const { return valid_; }

 private:
  bool put_ = false;
  bool valid_ = true;
  std::vector<const VARIANT*> arguments_;
  const VARIANT* putValue_ = nullptr;
  std::string shown_;
};

class StandInObject : public IDispatch {
 public:
  StandInObject(const char* className, std::shared_ptr<Session> session);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override;

 protected:
  virtual ~StandInObject();
  virtual std::span<const Member> Members() const = 0;
  // Runs member `member` (an index into Members()); fills `result` for reads and calls.
  virtual HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO* exception) = 0;
  // Other interfaces an object offers beside IDispatch.
  virtual void* OtherInterface(REFIID) { return nullptr; }

  Session& session() { return *session_; }
  const std::shared_ptr<Session>& shared_session() const { return session_; }

 private:
  const char* className_;
  std::shared_ptr<Session> session_;
  ULONG references_ = 1;
};

// The word processor's way of failing a call: an automation exception with its own code.
HRESULT Raise(EXCEPINFO* exception, HRESULT code, const wchar_t* description);

// Results.
void ReturnObject(VARIANT* result, IDispatch* object);  // takes over the caller's reference
void ReturnBool(VARIANT* result, bool value);
void ReturnInt(VARIANT* result, long value);
void ReturnText(VARIANT* result, std::wstring_view text);

// Objects of the stand-in alive in this process.
long LiveObjects();

}  // namespace lumenta::standin

// The part of the word processor's object model the program calls, over plain-text documents:
// Application (Visible, Documents, Selection, ActiveDocument, Quit, and the running state),
// Documents (Open, Item, Add, Count), Document (Close, Name, FullName), Selection (Text, Start,
// End, MoveRight, Find, Font), Find (ClearFormatting, Highlight, Text, MatchCase, Wrap,
// Replacement, Execute), Replacement (ClearFormatting, Text) and Font (Color).
#include "tests/app/word_standin/standin_word_win.h"

#include <oleauto.h>

#include <algorithm>
#include <string>

#include "tests/app/word_standin/standin_dispatch_win.h"
#include "tests/app/word_standin/standin_identity.h"
#include "tests/app/word_standin/standin_log_win.h"
#include "tests/app/word_standin/standin_session.h"

namespace lumenta::standin {
namespace {

// The word processor's own error numbers, as automation codes.
constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x800A1436);    // 5174
constexpr HRESULT kNoSuchMember = static_cast<HRESULT>(0x800A1735);    // 5941
constexpr HRESULT kNoDocumentOpen = static_cast<HRESULT>(0x800A1098);  // 4248
constexpr HRESULT kObjectDeleted = static_cast<HRESULT>(0x800A16C1);   // 5825
constexpr HRESULT kCommandFailed = static_cast<HRESULT>(0x800A1066);   // 4198
constexpr long kUndefined = 9999999;                                   // wdUndefined

std::wstring Lower(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring Decode(const std::string& bytes) {
  auto convert = [](UINT codePage, DWORD flags, std::string_view in, std::wstring& out) {
    if (in.empty()) return true;
    const int n = static_cast<int>(in.size());
    const int needed = MultiByteToWideChar(codePage, flags, in.data(), n, nullptr, 0);
    if (needed <= 0) return false;
    out.assign(static_cast<size_t>(needed), L'\0');
    return MultiByteToWideChar(codePage, flags, in.data(), n, out.data(), needed) == needed;
  };
  std::wstring text;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    return text;
  }
  std::string_view body = bytes;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  if (convert(CP_UTF8, MB_ERR_INVALID_CHARS, body, text)) return text;
  convert(936, 0, body, text);
  return text;
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return ok;
}

std::string Range(const Document& document, size_t start, size_t end) {
  return std::to_string(start) + "-" + std::to_string(end) + " " +
         Quote(std::wstring_view(document.text).substr(start, end - start));
}

// ---------------------------------------------------------------------------------------------

class FontObject : public StandInObject {
 public:
  explicit FontObject(std::shared_ptr<Session> session) : StandInObject("Font", session) {}

 protected:
  std::span<const Member> Members() const override {
    static const Member members[] = {{L"Color", {}}};
    return members;
  }
  HRESULT Handle(int, const Call& call, VARIANT* result, EXCEPINFO* exception) override {
    const std::shared_ptr<Document> document = session().active();
    if (!document) return Raise(exception, kNoDocumentOpen, L"No document is open.");
    if (call.put()) {
      VARIANT colour;
      VariantInit(&colour);
      if (FAILED(VariantChangeType(&colour, const_cast<VARIANT*>(call.PutValue()), 0, VT_I4))) {
        return DISP_E_TYPEMISMATCH;
      }
      for (size_t i = document->start; i < document->end; ++i) document->colours[i] = V_I4(&colour);
      LogLine("colour " + std::to_string(V_I4(&colour)) + " " +
              Range(*document, document->start, document->end));
      return S_OK;
    }
    long colour = kAutomaticColour;
    if (document->start < document->end) {
      colour = document->colours[document->start];
      for (size_t i = document->start; i < document->end; ++i) {
        if (document->colours[i] != colour) colour = kUndefined;
      }
    }
    ReturnInt(result, colour);
    return S_OK;
  }
};

class ReplacementObject : public StandInObject {
 public:
  explicit ReplacementObject(std::shared_ptr<Session> session)
      : StandInObject("Replacement", session) {}

 protected:
  enum { kClearFormatting, kText };
  std::span<const Member> Members() const override {
    static const Member members[] = {{L"ClearFormatting", {}}, {L"Text", {}}};
    return members;
  }
  HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO*) override {
    if (member == kClearFormatting) return S_OK;
    if (call.put()) {
      VARIANT text;
      VariantInit(&text);
      if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(call.PutValue()), 0, VT_BSTR))) {
        return DISP_E_TYPEMISMATCH;
      }
      session().find.replacementText.assign(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
      VariantClear(&text);
      return S_OK;
    }
    ReturnText(result, session().find.replacementText);
    return S_OK;
  }
};

class FindObject : public StandInObject {
 public:
  explicit FindObject(std::shared_ptr<Session> session) : StandInObject("Find", session) {}

 protected:
  enum { kClearFormatting, kHighlight, kText, kMatchCase, kWrap, kReplacement, kExecute };
  std::span<const Member> Members() const override {
    static const Member members[] = {
        {L"ClearFormatting", {}},
        {L"Highlight", {}},
        {L"Text", {}},
        {L"MatchCase", {}},
        {L"Wrap", {}},
        {L"Replacement", {}},
        {L"Execute",
         {L"FindText", L"MatchCase", L"MatchWholeWord", L"MatchWildcards", L"MatchSoundsLike",
          L"MatchAllWordForms", L"Forward", L"Wrap", L"Format", L"ReplaceWith", L"Replace",
          L"MatchKashida", L"MatchDiacritics", L"MatchAlefHamza", L"MatchControl"}},
    };
    return members;
  }

  HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO* exception) override {
    FindSettings& find = session().find;
    auto putInt = [&](long& field) {
      VARIANT value;
      VariantInit(&value);
      if (FAILED(VariantChangeType(&value, const_cast<VARIANT*>(call.PutValue()), 0, VT_I4))) {
        return DISP_E_TYPEMISMATCH;
      }
      field = V_I4(&value);
      return S_OK;
    };
    switch (member) {
      case kClearFormatting:
        return S_OK;
      case kHighlight:
        if (call.put()) return putInt(find.highlight);
        ReturnInt(result, find.highlight);
        return S_OK;
      case kMatchCase:
        if (call.put()) {
          long value = 0;
          const HRESULT status = putInt(value);
          find.matchCase = value != 0;
          return status;
        }
        ReturnBool(result, find.matchCase);
        return S_OK;
      case kWrap:
        if (call.put()) return putInt(find.wrap);
        ReturnInt(result, find.wrap);
        return S_OK;
      case kText:
        if (call.put()) {
          VARIANT text;
          VariantInit(&text);
          if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(call.PutValue()), 0, VT_BSTR))) {
            return DISP_E_TYPEMISMATCH;
          }
          find.text.assign(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
          VariantClear(&text);
          return S_OK;
        }
        ReturnText(result, find.text);
        return S_OK;
      case kReplacement:
        if (call.put()) return DISP_E_MEMBERNOTFOUND;
        ReturnObject(result, new ReplacementObject(shared_session()));
        return S_OK;
      case kExecute:
        return Execute(call, result, exception);
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  HRESULT Execute(const Call& call, VARIANT* result, EXCEPINFO* exception) {
    const std::shared_ptr<Document> document = session().active();
    if (!document) return Raise(exception, kNoDocumentOpen, L"No document is open.");
    FindSettings& find = session().find;
    if (call.Argument(0)) {
      auto text = call.Text(0);
      if (!text) return DISP_E_TYPEMISMATCH;
      find.text = *text;
    }
    const bool matchCase = call.Bool(1).value_or(find.matchCase);
    const bool forward = call.Bool(6).value_or(true);
    const bool continues = call.Int(7).value_or(find.wrap) == 1;
    if (find.text.empty()) {
      LogLine("not found");
      ReturnBool(result, false);
      return S_OK;
    }
    const std::wstring haystack = matchCase ? document->text : Lower(document->text);
    const std::wstring needle = matchCase ? find.text : Lower(find.text);
    size_t at = std::wstring::npos;
    if (forward) {
      at = haystack.find(needle, document->end);
      if (at == std::wstring::npos && continues) at = haystack.find(needle);
    } else {
      if (document->start >= needle.size()) {
        at = haystack.rfind(needle, document->start - needle.size());
      }
      if (at == std::wstring::npos && continues) at = haystack.rfind(needle);
    }
    if (at == std::wstring::npos) {
      LogLine("not found");
      ReturnBool(result, false);
      return S_OK;
    }
    document->start = at;
    document->end = at + needle.size();
    LogLine("found " + Range(*document, document->start, document->end));
    ReturnBool(result, true);
    return S_OK;
  }
};

class SelectionObject : public StandInObject {
 public:
  explicit SelectionObject(std::shared_ptr<Session> session)
      : StandInObject("Selection", session) {}

 protected:
  enum { kText, kStart, kEnd, kMoveRight, kFind, kFont };
  std::span<const Member> Members() const override {
    static const Member members[] = {
        {L"Text", {}}, {L"Start", {}}, {L"End", {}}, {L"MoveRight", {L"Unit", L"Count", L"Extend"}},
        {L"Find", {}}, {L"Font", {}},
    };
    return members;
  }

  HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO* exception) override {
    const std::shared_ptr<Document> document = session().active();
    if (!document) return Raise(exception, kNoDocumentOpen, L"No document is open.");
    if (call.put()) return DISP_E_MEMBERNOTFOUND;  // the model's selection is moved by calls
    switch (member) {
      case kText:
        // An insertion point holds no text.
        ReturnText(result, std::wstring_view(document->text)
                               .substr(document->start, document->end - document->start));
        return S_OK;
      case kStart:
        ReturnInt(result, static_cast<long>(document->start));
        return S_OK;
      case kEnd:
        ReturnInt(result, static_cast<long>(document->end));
        return S_OK;
      case kMoveRight:
        return MoveRight(*document, call, result, exception);
      case kFind:
        ReturnObject(result, new FindObject(shared_session()));
        return S_OK;
      case kFont:
        ReturnObject(result, new FontObject(shared_session()));
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  // Moves like the Right arrow key: a selection first collapses to its end (which counts as one
  // move), an insertion point moves one character; never past the end of the document.
  HRESULT MoveRight(Document& document, const Call& call, VARIANT* result, EXCEPINFO* exception) {
    const long unit = call.Int(0).value_or(1);
    long count = call.Int(1).value_or(1);
    const bool extend = call.Int(2).value_or(0) != 0;
    if (unit != 1) return Raise(exception, kCommandFailed, L"Only characters are supported.");
    long moved = 0;
    if (!extend && document.start != document.end && count > 0) {
      document.start = document.end;
      ++moved;
      --count;
    }
    for (; count > 0 && document.end < document.text.size(); --count, ++moved) ++document.end;
    if (!extend) document.start = document.end;
    LogLine("selection " + Range(document, document.start, document.end));
    ReturnInt(result, moved);
    return S_OK;
  }
};

class DocumentObject : public StandInObject {
 public:
  DocumentObject(std::shared_ptr<Session> session, std::shared_ptr<Document> document)
      : StandInObject("Document", session), document_(std::move(document)) {}

 protected:
  enum { kClose, kName, kFullName };
  std::span<const Member> Members() const override {
    static const Member members[] = {
        {L"Close", {L"SaveChanges", L"OriginalFormat", L"RouteDocument"}},
        {L"Name", {}},
        {L"FullName", {}},
    };
    return members;
  }
  HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO* exception) override {
    auto& documents = session().documents;
    auto open = std::find(documents.begin(), documents.end(), document_);
    if (open == documents.end())
      return Raise(exception, kObjectDeleted, L"Object has been deleted.");
    if (call.put()) return DISP_E_MEMBERNOTFOUND;
    switch (member) {
      case kClose:
        documents.erase(open);
        return S_OK;
      case kName: {
        const size_t slash = document_->path.find_last_of(L"\\/");
        ReturnText(result, slash == std::wstring::npos ? document_->path
                                                       : document_->path.substr(slash + 1));
        return S_OK;
      }
      case kFullName:
        ReturnText(result, document_->path);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  std::shared_ptr<Document> document_;
};

class DocumentsObject : public StandInObject {
 public:
  explicit DocumentsObject(std::shared_ptr<Session> session)
      : StandInObject("Documents", session) {}

 protected:
  enum { kOpen, kItem, kAdd, kCount };
  std::span<const Member> Members() const override {
    static const Member members[] = {
        {L"Open",
         {L"FileName", L"ConfirmConversions", L"ReadOnly", L"AddToRecentFiles", L"PasswordDocument",
          L"PasswordTemplate", L"Revert", L"WritePasswordDocument", L"WritePasswordTemplate",
          L"Format", L"Encoding", L"Visible", L"OpenAndRepair", L"DocumentDirection",
          L"NoEncodingDialog", L"XMLTransform"}},
        {L"Item", {L"Index"}},
        {L"Add", {L"Template", L"NewTemplate", L"DocumentType", L"Visible"}},
        {L"Count", {}},
    };
    return members;
  }
  HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO* exception) override {
    if (call.put()) return DISP_E_MEMBERNOTFOUND;
    auto& documents = session().documents;
    switch (member) {
      case kOpen: {
        const auto path = call.Text(0);
        if (!path) return DISP_E_PARAMNOTOPTIONAL;
        std::string bytes;
        if (!ReadFileBytes(*path, bytes)) {
          return Raise(exception, kFileNotFound, L"Sorry, we couldn't find your file.");
        }
        auto document = std::make_shared<Document>();
        document->path = *path;
        document->text = Decode(bytes);
        document->colours.assign(document->text.size(), kAutomaticColour);
        documents.push_back(document);
        LogLine("opened " + std::to_string(document->text.size()) + " characters");
        ReturnObject(result, new DocumentObject(shared_session(), document));
        return S_OK;
      }
      case kItem: {
        const auto index = call.Int(0);
        if (!index || *index < 1 || static_cast<size_t>(*index) > documents.size()) {
          return Raise(exception, kNoSuchMember,
                       L"The requested member of the collection does not exist.");
        }
        ReturnObject(result, new DocumentObject(shared_session(), documents[*index - 1]));
        return S_OK;
      }
      case kAdd: {
        auto document = std::make_shared<Document>();
        document->path = L"Document" + std::to_wstring(documents.size() + 1);
        documents.push_back(document);
        ReturnObject(result, new DocumentObject(shared_session(), document));
        return S_OK;
      }
      case kCount:
        ReturnInt(result, static_cast<long>(documents.size()));
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
};

// A new application reads the stand-in's settings: where its journal goes and whether its
// searches wrap around at the end of the document.
std::shared_ptr<Session> NewSession() {
  ReloadLogSettings();
  auto session = std::make_shared<Session>();
  session->find.wrap = Switch(kWrapVariable) ? 1 : 0;
  return session;
}

class ApplicationObject : public StandInObject, public IRunnableObject {
 public:
  ApplicationObject() : StandInObject("Application", NewSession()) {
    LogLine("create Application");
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return StandInObject::QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return StandInObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return StandInObject::Release(); }

  // IRunnableObject: OleRun puts the new application into the running state through Run.
  HRESULT STDMETHODCALLTYPE GetRunningClass(LPCLSID clsid) override {
    if (!clsid) return E_POINTER;
    return CLSIDFromString(kClsid, clsid);
  }
  HRESULT STDMETHODCALLTYPE Run(LPBINDCTX) override {
    LogLine("run Application");
    if (Switch(kRunFailsVariable)) return E_FAIL;
    session().running = true;
    return S_OK;
  }
  BOOL STDMETHODCALLTYPE IsRunning() override { return session().running; }
  HRESULT STDMETHODCALLTYPE LockRunning(BOOL, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetContainedObject(BOOL) override { return S_OK; }

 protected:
  enum { kVisible, kDocuments, kSelection, kActiveDocument, kQuit, kName };
  std::span<const Member> Members() const override {
    static const Member members[] = {
        {L"Visible", {}},
        {L"Documents", {}},
        {L"Selection", {}},
        {L"ActiveDocument", {}},
        {L"Quit", {L"SaveChanges", L"OriginalFormat", L"RouteDocument"}},
        {L"Name", {}},
    };
    return members;
  }
  void* OtherInterface(REFIID iid) override {
    return iid == IID_IRunnableObject ? static_cast<IRunnableObject*>(this) : nullptr;
  }
  HRESULT Handle(int member, const Call& call, VARIANT* result, EXCEPINFO* exception) override {
    switch (member) {
      case kVisible:
        if (call.put()) {
          VARIANT value;
          VariantInit(&value);
          if (FAILED(
                  VariantChangeType(&value, const_cast<VARIANT*>(call.PutValue()), 0, VT_BOOL))) {
            return DISP_E_TYPEMISMATCH;
          }
          session().visible = V_BOOL(&value) != VARIANT_FALSE;
          return S_OK;
        }
        ReturnBool(result, session().visible);
        return S_OK;
      case kQuit:
        session().quit = true;
        session().documents.clear();
        return S_OK;
      case kName:
        if (call.put()) return DISP_E_MEMBERNOTFOUND;
        ReturnText(result, L"Microsoft Word");
        return S_OK;
    }
    if (call.put()) return DISP_E_MEMBERNOTFOUND;
    switch (member) {
      case kDocuments:
        ReturnObject(result, new DocumentsObject(shared_session()));
        return S_OK;
      case kSelection:
        if (!session().active()) {
          return Raise(exception, kNoDocumentOpen,
                       L"This command is not available because no document is open.");
        }
        ReturnObject(result, new SelectionObject(shared_session()));
        return S_OK;
      case kActiveDocument:
        if (!session().active()) {
          return Raise(exception, kNoDocumentOpen,
                       L"This command is not available because no document is open.");
        }
        ReturnObject(result, new DocumentObject(shared_session(), session().active()));
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
};

}  // namespace

IDispatch* NewApplication() { return new ApplicationObject(); }

}  // namespace lumenta::standin

#include "word_print_out.h"

#include <new>

#include "hresult.h"
#include "messages.h"
#include "word_constants.h"
#include "module.h"

namespace quorrel {
namespace {

constexpr double kMinimumWordVersion = 9;  // Word 2000
constexpr UINT kMessageStyle = MB_OK | MB_ICONEXCLAMATION;  // 48
constexpr DISPID kDispidObjWord = 0x68030005;
constexpr DISPID kDispidObjNewWord = 0x68030004;

using com::Variant;

// Lets the client's windows repaint before a long call, as DoEvents does.
void DispatchPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void ShowMessage(const wchar_t* text) {
  MessageBoxW(GetActiveWindow(), text, kAppTitle, kMessageStyle);
}

// Word's Version is text such as "9.0" or "16.0"; it is read the same on every locale.
HRESULT ParseVersion(const VARIANT& text, double* version) {
  Variant v(text);
  RETURN_IF_FAILED(VariantChangeTypeEx(v.Ptr(), v.Ptr(), LOCALE_INVARIANT, 0, VT_R8));
  *version = V_R8(v.Ptr());
  return S_OK;
}

}  // namespace

HRESULT WordPrintOut::Create(REFIID iid, void** out) {
  auto* obj = new (std::nothrow) WordPrintOut();
  if (!obj) return E_OUTOFMEMORY;
  HRESULT hr = obj->QueryInterface(iid, out);
  obj->Release();
  return hr;
}

WordPrintOut::WordPrintOut() { com::ModuleAddRef(); }
// Dropping the last reference releases Word but never quits it.
WordPrintOut::~WordPrintOut() { com::ModuleRelease(); }

HRESULT WordPrintOut::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* excep, UINT* arg_err) {
  // The object properties are declared as plain puts; late-bound clients naturally assign them
  // with Set, which arrives as a put by reference. Both store the object.
  if ((flags & DISPATCH_PROPERTYPUTREF) && (id == kDispidObjWord || id == kDispidObjNewWord)) {
    flags = (flags & ~DISPATCH_PROPERTYPUTREF) | DISPATCH_PROPERTYPUT;
  }
  return TypeLibDispatch::Invoke(id, riid, lcid, flags, params, result, excep, arg_err);
}

HRESULT WordPrintOut::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, IID__WordPrintOut) ? S_OK : S_FALSE;
}

// ---- Plain properties: stored and returned as given, never validated.

HRESULT WordPrintOut::put_objWord(IDispatch* rhs) { word_ = rhs; return S_OK; }
HRESULT WordPrintOut::get_objWord(IDispatch** ret) { return word_.CopyTo(ret); }
HRESULT WordPrintOut::put_objNewWord(IDispatch* rhs) { new_word_ = rhs; return S_OK; }
HRESULT WordPrintOut::get_objNewWord(IDispatch** ret) { return new_word_.CopyTo(ret); }
HRESULT WordPrintOut::get_FormName(BSTR* ret) { return form_name_.CopyTo(ret); }
HRESULT WordPrintOut::get_FormPath(BSTR* ret) { return form_path_.CopyTo(ret); }
HRESULT WordPrintOut::put_FormPath(BSTR rhs) {
  form_path_ = com::Bstr::Adopt(SysAllocStringLen(rhs, SysStringLen(rhs)));
  return S_OK;
}
HRESULT WordPrintOut::put_WordOutErr(LONG rhs) { word_out_err_ = rhs; return S_OK; }
HRESULT WordPrintOut::get_WordOutErr(LONG* ret) {
  if (!ret) return E_POINTER;
  *ret = word_out_err_;
  return S_OK;
}
HRESULT WordPrintOut::get_OwnerFormCaption(BSTR* ret) { return owner_form_caption_.CopyTo(ret); }
HRESULT WordPrintOut::put_OwnerFormCaption(BSTR rhs) {
  owner_form_caption_ = com::Bstr::Adopt(SysAllocStringLen(rhs, SysStringLen(rhs)));
  return S_OK;
}

// ---- Start and end of a run.

HRESULT WordPrintOut::WordStart() {
  DispatchPendingMessages();

  auto fail = [this] {
    ShowMessage(kWordMissing);
    word_out_err_ = NonExistence;
    return S_OK;
  };

  CLSID clsid;
  com::ComPtr<IDispatch> app;
  if (FAILED(CLSIDFromProgID(L"Word.Application", &clsid)) ||
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, app.ReceiveVoid()))) {
    return fail();
  }
  word_ = app;  // the previous Word, if any, is released without Quit

  Variant version_text;
  double version = 0;
  if (FAILED(App().Get(L"Version", version_text.Ptr())) ||
      FAILED(ParseVersion(version_text.Get(), &version))) {
    return fail();
  }
  if (version < kMinimumWordVersion) {
    ShowMessage(kVersionTooOld);
    word_out_err_ = VertionErr;  // the old Word is still used for the run
  } else if (word_out_err_ != OutCancel) {
    word_out_err_ = NonErr;
  }

  WordObject documents;
  Variant document;
  if (FAILED(App().Child(L"Documents", WordType::Documents, &documents)) ||
      FAILED(documents.Call(L"Add", {}, document.Ptr())) || document.Type() != VT_DISPATCH) {
    return fail();
  }
  new_word_ = V_DISPATCH(document.Ptr());
  if (FAILED(App().Put(L"DisplayAlerts", Variant::I4(0)))) return fail();
  return S_OK;
}

HRESULT WordPrintOut::WordEnd() {
  // Failures end the operation silently, leaving the state as the failing step left it.
  if (word_out_err_ == NonErr) FinishAndShow();
  else Discard();
  return S_OK;
}

HRESULT WordPrintOut::FinishAndShow() {
  RETURN_IF_FAILED(SetFindReplace(L"#*#", L"", true));
  RETURN_IF_FAILED(ReplaceAllInRange(nullptr));

  WordObject app = App();
  WordObject selection, paragraph_format, window, pane, view, zoom;
  RETURN_IF_FAILED(app.Child(L"Selection", WordType::Selection, &selection));
  RETURN_IF_FAILED(selection.Call(L"WholeStory"));
  RETURN_IF_FAILED(selection.Child(L"ParagraphFormat", WordType::ParagraphFormat,
                                   &paragraph_format));
  RETURN_IF_FAILED(paragraph_format.Put(L"DisableLineHeightGrid", Variant::Bool(true)));
  RETURN_IF_FAILED(app.Child(L"ActiveWindow", WordType::Window, &window));
  RETURN_IF_FAILED(window.Child(L"ActivePane", WordType::Pane, &pane));
  RETURN_IF_FAILED(pane.Put(L"VerticalPercentScrolled", Variant::I2(0)));
  RETURN_IF_FAILED(selection.Call(L"HomeKey", {Variant::I4(kUnitStory)}));
  RETURN_IF_FAILED(app.Put(L"Visible", Variant::Bool(true)));
  RETURN_IF_FAILED(app.Put(L"WindowState", Variant::I4(kWindowMaximized)));
  RETURN_IF_FAILED(app.Call(L"Activate"));
  RETURN_IF_FAILED(app.Child(L"ActiveWindow", WordType::Window, &window));
  RETURN_IF_FAILED(window.Call(L"Activate"));
  RETURN_IF_FAILED(window.Child(L"ActivePane", WordType::Pane, &pane));
  RETURN_IF_FAILED(pane.Child(L"View", WordType::View, &view));
  RETURN_IF_FAILED(view.Child(L"Zoom", WordType::Zoom, &zoom));
  RETURN_IF_FAILED(zoom.Put(L"Percentage", Variant::I2(100)));
  RETURN_IF_FAILED(app.Put(L"DisplayAlerts", Variant::I4(-1)));
  range_.Reset();
  word_.Reset();  // the output document stays open in Word for the user
  return S_OK;
}

HRESULT WordPrintOut::Discard() {
  WordObject application;
  RETURN_IF_FAILED(OutputDocument().Child(L"Application", WordType::Application, &application));
  RETURN_IF_FAILED(application.Call(L"Quit", {Variant::I4(0)}));  // 0: do not save
  new_word_.Reset();
  range_.Reset();
  word_.Reset();
  word_out_err_ = NonErr;
  return S_OK;
}

HRESULT WordPrintOut::SetFindReplace(const wchar_t* find_text, const wchar_t* replace_text,
                                     bool wildcards) {
  WordObject find, replacement;
  RETURN_IF_FAILED(InsertionRange().Child(L"Find", WordType::Find, &find));
  RETURN_IF_FAILED(find.Call(L"ClearFormatting"));
  RETURN_IF_FAILED(find.Child(L"Replacement", WordType::Replacement, &replacement));
  RETURN_IF_FAILED(replacement.Call(L"ClearFormatting"));
  RETURN_IF_FAILED(find.Put(L"Text", Variant::Str(find_text)));
  RETURN_IF_FAILED(replacement.Put(L"Text", Variant::Str(replace_text)));
  RETURN_IF_FAILED(find.Put(L"Forward", Variant::Bool(true)));
  RETURN_IF_FAILED(find.Put(L"Wrap", Variant::I4(kFindContinue)));
  RETURN_IF_FAILED(find.Put(L"Format", Variant::Bool(false)));
  RETURN_IF_FAILED(find.Put(L"MatchFuzzy", Variant::Bool(false)));
  RETURN_IF_FAILED(find.Put(L"MatchWholeWord", Variant::Bool(false)));
  RETURN_IF_FAILED(find.Put(L"MatchAllWordForms", Variant::Bool(false)));
  RETURN_IF_FAILED(find.Put(L"MatchSoundsLike", Variant::Bool(false)));
  return find.Put(L"MatchWildcards", Variant::Bool(wildcards));
}

}  // namespace quorrel

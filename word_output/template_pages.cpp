// Appending template pages to the output document: FormName, NewPage, LastDelete.
#include <string>

#include "error_info.h"
#include "hresult.h"
#include "word_constants.h"
#include "word_print_out.h"

namespace quorrel {
namespace {

using com::Variant;

constexpr HRESULT kAppendFailed = 0x80040201;  // the library's error for a failed append

// An ordinary file: hidden files, system files and folders count as missing.
bool OrdinaryFileExists(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return false;
  return !(attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace

HRESULT WordPrintOut::put_FormName(BSTR rhs) {
  const std::wstring name(rhs ? rhs : L"", SysStringLen(rhs));
  const std::wstring path = form_path_.Str() + name;  // no separator is added
  com::CallError word_error;
  WordObject template_doc;

  HRESULT hr = [&]() -> HRESULT {
    if (!OrdinaryFileExists(path)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    form_name_ = com::Bstr(name);

    WordObject documents, template_app, active, source, target, app, selection, content;
    RETURN_IF_FAILED(App().Child(L"Documents", WordType::Documents, &documents, {}, &word_error));
    Variant opened;
    RETURN_IF_FAILED(documents.Call(L"Open", {Variant::Str(path)}, opened.Ptr(), &word_error));
    if (opened.Type() != VT_DISPATCH || !V_DISPATCH(opened.Ptr())) return E_UNEXPECTED;
    template_doc = surface_.Wrap(V_DISPATCH(opened.Ptr()), WordType::Document);

    // The template just opened is Word's active document; its whole story goes to the clipboard.
    RETURN_IF_FAILED(template_doc.Child(L"Application", WordType::Application, &template_app, {},
                                        &word_error));
    RETURN_IF_FAILED(template_app.Child(L"ActiveDocument", WordType::Document, &active, {},
                                        &word_error));
    RETURN_IF_FAILED(active.Child(L"Range", WordType::Range, &source, {}, &word_error));
    RETURN_IF_FAILED(source.Call(L"WholeStory", {}, nullptr, &word_error));
    RETURN_IF_FAILED(source.Call(L"Copy", {}, nullptr, &word_error));
    RETURN_IF_FAILED(template_doc.Call(L"Close", {}, nullptr, &word_error));
    template_doc = WordObject();

    Variant output_name;
    RETURN_IF_FAILED(OutputDocument().Get(L"Name", output_name.Ptr(), {}, &word_error));
    RETURN_IF_FAILED(App().Child(L"Documents", WordType::Document, &target, {output_name},
                                 &word_error));
    RETURN_IF_FAILED(target.Call(L"Activate", {}, nullptr, &word_error));
    RETURN_IF_FAILED(OutputDocument().Child(L"Application", WordType::Application, &app, {},
                                            &word_error));
    RETURN_IF_FAILED(app.Child(L"Selection", WordType::Selection, &selection, {}, &word_error));
    RETURN_IF_FAILED(selection.Call(L"EndKey", {Variant::I4(kUnitLine)}, nullptr, &word_error));

    range_.Reset();
    RETURN_IF_FAILED(OutputDocument().Child(L"Content", WordType::Range, &content, {},
                                            &word_error));
    range_ = content.Get();
    RETURN_IF_FAILED(InsertionRange().Call(L"Collapse", {Variant::I4(kCollapseEnd)}, nullptr,
                                           &word_error));
    // Word extends the range over what it pastes: it now covers the new page.
    return InsertionRange().Call(L"Paste", {}, nullptr, &word_error);
  }();
  if (SUCCEEDED(hr)) return S_OK;

  // A template left open would stay in Word as a stray document for the rest of the session.
  if (template_doc) template_doc.Call(L"Close", {Variant::I4(kDoNotSaveChanges)});
  form_name_.Reset();
  word_out_err_ = OpenErr;
  std::wstring description = L"帳票テンプレートを追加できません: " + path;
  if (word_error.description.Length()) description += L" (" + word_error.description.Str() + L")";
  else if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) description += L" (ファイルがありません)";
  return com::ReportError(kAppendFailed, IID__WordPrintOut, L"Scrivlet.WordPrintOut",
                          description.c_str());
}

HRESULT WordPrintOut::NewPage() {
  // Fails silently: before the first page or after Word has gone there is nothing to do.
  if (SUCCEEDED(InsertionRange().Call(L"Collapse", {Variant::I4(kCollapseEnd)}))) {
    InsertionRange().Call(L"InsertBreak", {Variant::I4(kPageBreak)});
  }
  return S_OK;
}

HRESULT WordPrintOut::LastDelete() {
  // Deletes the one character after the last page (the paragraph mark a paste leaves).
  if (SUCCEEDED(InsertionRange().Call(L"Collapse", {Variant::I4(kCollapseEnd)}))) {
    InsertionRange().Call(L"Delete");
  }
  return S_OK;
}

}  // namespace quorrel

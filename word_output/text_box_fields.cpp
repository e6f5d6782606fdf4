// Templates whose fields lie in text boxes: opened on their own, filled, then appended.
// Word's own errors reach the caller unchanged, with their description.
#include <string>

#include "error_info.h"
#include "hresult.h"
#include "word_constants.h"
#include "word_print_out.h"

namespace quorrel {
namespace {

using com::Variant;

constexpr SHORT kDoNotSave16 = 0;  // wdDoNotSaveChanges, as a 16-bit integer

}  // namespace

HRESULT WordPrintOut::PassWordError(HRESULT hr, const com::CallError& error) {
  if (SUCCEEDED(hr)) return hr;
  if (error.description.Length() || error.source.Length()) {
    return com::ReportError(error.scode, IID__WordPrintOut, error.source.Get(),
                            error.description.Get());
  }
  SetErrorInfo(0, nullptr);
  return error.scode ? error.scode : hr;
}

HRESULT WordPrintOut::SetFieldTextBox_Before(BSTR* StFileName, IDispatch** ret) {
  if (!ret) return E_POINTER;
  *ret = nullptr;
  const std::wstring name = StFileName && *StFileName
                                ? std::wstring(*StFileName, SysStringLen(*StFileName))
                                : std::wstring();
  form_name_ = com::Bstr(name);

  com::CallError error;
  HRESULT hr = [&]() -> HRESULT {
    WordObject documents;
    RETURN_IF_FAILED(App().Child(L"Documents", WordType::Documents, &documents, {}, &error));
    Variant doc;
    RETURN_IF_FAILED(documents.Call(L"Open", {Variant::Str(form_path_.Str() + name)}, doc.Ptr(),
                                    &error));
    if (doc.Type() != VT_DISPATCH || !V_DISPATCH(doc.Ptr())) return DISP_E_TYPEMISMATCH;
    WordObject opened = surface_.Wrap(V_DISPATCH(doc.Ptr()), WordType::Document);
    RETURN_IF_FAILED(opened.Call(L"Activate", {}, nullptr, &error));
    *ret = opened.Get();
    (*ret)->AddRef();
    return S_OK;
  }();
  return PassWordError(hr, error);
}

HRESULT WordPrintOut::SelectionFindforTextBox(BSTR* StFieldname, BSTR* StText) {
  const std::wstring field = StFieldname && *StFieldname
                                 ? std::wstring(*StFieldname, SysStringLen(*StFieldname))
                                 : std::wstring();
  const std::wstring text =
      StText && *StText ? std::wstring(*StText, SysStringLen(*StText)) : std::wstring();
  com::CallError error;
  HRESULT hr = [&]() -> HRESULT {
    if (!word_) return E_POINTER;
    WordObject document, shapes;
    RETURN_IF_FAILED(App().Child(L"ActiveDocument", WordType::Document, &document, {}, &error));
    RETURN_IF_FAILED(document.Child(L"Shapes", WordType::Shapes, &shapes, {}, &error));
    Variant count;
    RETURN_IF_FAILED(shapes.Get(L"Count", count.Ptr(), {}, &error));
    RETURN_IF_FAILED(count.ChangeType(VT_I4));
    for (LONG i = 1; i <= V_I4(count.Ptr()); ++i) {
      // Each shape is reached anew, as filling one may renumber nothing but costs no guess.
      WordObject doc, all, shape, frame, range;
      RETURN_IF_FAILED(App().Child(L"ActiveDocument", WordType::Document, &doc, {}, &error));
      RETURN_IF_FAILED(doc.Child(L"Shapes", WordType::Shapes, &all, {}, &error));
      RETURN_IF_FAILED(all.Child(L"Item", WordType::Shape, &shape, {Variant::I4(i)}, &error));
      Variant type;
      RETURN_IF_FAILED(shape.Get(L"Type", type.Ptr(), {}, &error));
      RETURN_IF_FAILED(type.ChangeType(VT_I4));
      if (V_I4(type.Ptr()) != kShapeTextBox) continue;
      RETURN_IF_FAILED(shape.Child(L"TextFrame", WordType::TextFrame, &frame, {}, &error));
      RETURN_IF_FAILED(frame.Child(L"TextRange", WordType::Range, &range, {}, &error));
      Variant current;
      RETURN_IF_FAILED(range.Get(L"Text", current.Ptr(), {}, &error));
      RETURN_IF_FAILED(current.ChangeType(VT_BSTR));
      const std::wstring box(V_BSTR(current.Ptr()), SysStringLen(V_BSTR(current.Ptr())));
      // As an InStr test: an empty field matches any box that holds text.
      bool contains = field.empty() ? !box.empty() : box.find(field) != std::wstring::npos;
      if (contains) RETURN_IF_FAILED(range.Put(L"Text", Variant::Str(text), &error));
    }
    return S_OK;
  }();
  return PassWordError(hr, error);
}

HRESULT WordPrintOut::SetFieldTextBox_After(IDispatch** dc) {
  com::CallError error;
  HRESULT hr = [&]() -> HRESULT {
    if (!dc || !*dc) return E_POINTER;
    WordObject doc = surface_.Wrap(*dc, WordType::Document);
    WordObject app, active, range;
    RETURN_IF_FAILED(doc.Child(L"Application", WordType::Application, &app, {}, &error));
    RETURN_IF_FAILED(app.Child(L"ActiveDocument", WordType::Document, &active, {}, &error));
    RETURN_IF_FAILED(active.Child(L"Range", WordType::Range, &range, {}, &error));
    RETURN_IF_FAILED(range.Call(L"WholeStory", {}, nullptr, &error));
    RETURN_IF_FAILED(app.Child(L"ActiveDocument", WordType::Document, &active, {}, &error));
    RETURN_IF_FAILED(active.Child(L"Range", WordType::Range, &range, {}, &error));
    RETURN_IF_FAILED(range.Call(L"Copy", {}, nullptr, &error));
    // The template is closed unsaved: its filled text boxes never reach the file.
    RETURN_IF_FAILED(doc.Call(L"Close", {Variant::I2(kDoNotSave16)}, nullptr, &error));

    if (!word_ || !new_word_) return E_POINTER;
    Variant output_name;
    WordObject target;
    RETURN_IF_FAILED(OutputDocument().Get(L"Name", output_name.Ptr(), {}, &error));
    RETURN_IF_FAILED(App().Child(L"Documents", WordType::Document, &target, {output_name},
                                 &error));
    RETURN_IF_FAILED(target.Call(L"Activate", {}, nullptr, &error));
    if (!range_) return E_POINTER;
    RETURN_IF_FAILED(InsertionRange().Call(L"Collapse", {Variant::I4(kCollapseEnd)}, nullptr,
                                           &error));
    return InsertionRange().Call(L"Paste", {}, nullptr, &error);
  }();
  return PassWordError(hr, error);
}

}  // namespace quorrel

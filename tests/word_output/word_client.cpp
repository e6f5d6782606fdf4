#include "word_client.h"

namespace quorrel_test {

com::ComPtr<_WordPrintOut> CreateWordPrintOut() {
  CLSID clsid;
  com::ComPtr<_WordPrintOut> obj;
  if (SUCCEEDED(CLSIDFromProgID(L"Scrivlet.WordPrintOut", &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__WordPrintOut, obj.ReceiveVoid());
  }
  return obj;
}

com::Variant GetPath(IDispatch* root, const std::vector<const wchar_t*>& path) {
  com::Variant current = com::Variant::Dispatch(root);
  for (const wchar_t* member : path) {
    if (current.Type() != VT_DISPATCH || !V_DISPATCH(current.Ptr())) return com::Variant();
    com::Variant next;
    if (FAILED(com::GetProperty(V_DISPATCH(current.Ptr()), member, next.Ptr()))) {
      return com::Variant();
    }
    current = next;
  }
  return current;
}

std::wstring GetText(IDispatch* root, const std::vector<const wchar_t*>& path) {
  com::Variant v = GetPath(root, path);
  if (FAILED(v.ChangeType(VT_BSTR))) return L"<no text>";
  return std::wstring(V_BSTR(v.Ptr()), SysStringLen(V_BSTR(v.Ptr())));
}

void QuitWord(IDispatch* obj) {
  com::Variant app = GetPath(obj, {L"Application"});
  if (app.Type() == VT_DISPATCH && V_DISPATCH(app.Ptr())) {
    com::CallMethod(V_DISPATCH(app.Ptr()), L"Quit", {com::Variant::I4(0)});
  }
}

}  // namespace quorrel_test

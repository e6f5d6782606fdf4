#include "standin_client.h"

#include <gtest/gtest.h>

#include "com_test_env.h"

namespace standin_test {
namespace {

std::string Describe(const wchar_t* member, const com::CallError& e) {
  char code[16];
  snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(e.scode));
  return testing_support::Utf8(member) + " failed " + code + " " +
         testing_support::Utf8(e.description.Str());
}

}  // namespace

HRESULT CreateWord(ComPtr<IDispatch>* app) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Word.Application", &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, app->ReceiveVoid());
}

Variant Get(IDispatch* obj, const wchar_t* member, std::vector<Variant> args) {
  Variant result;
  com::CallError e;
  if (FAILED(com::GetProperty(obj, member, result.Ptr(), std::move(args), &e)))
    ADD_FAILURE() << Describe(member, e);
  return result;
}

ComPtr<IDispatch> GetObj(IDispatch* obj, const wchar_t* member, std::vector<Variant> args) {
  Variant v = Get(obj, member, std::move(args));
  if (v.Type() != VT_DISPATCH) {
    ADD_FAILURE() << testing_support::Utf8(member) << " returned no object";
    return nullptr;
  }
  return V_DISPATCH(v.Ptr());
}

Variant Call(IDispatch* obj, const wchar_t* member, std::vector<Variant> args,
             std::vector<com::NamedArg> named) {
  Variant result;
  com::CallError e;
  if (FAILED(com::Invoke(obj, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args),
                         std::move(named), result.Ptr(), &e)))
    ADD_FAILURE() << Describe(member, e);
  return result;
}

void Put(IDispatch* obj, const wchar_t* member, const Variant& value) {
  com::CallError e;
  if (FAILED(com::PutProperty(obj, member, value, &e))) ADD_FAILURE() << Describe(member, e);
}

std::wstring GetText(IDispatch* obj, const wchar_t* member) {
  Variant v = Get(obj, member);
  if (FAILED(v.ChangeType(VT_BSTR))) return L"<not text>";
  return std::wstring(V_BSTR(v.Ptr()), SysStringLen(V_BSTR(v.Ptr())));
}

LONG GetLong(IDispatch* obj, const wchar_t* member) {
  Variant v = Get(obj, member);
  if (FAILED(v.ChangeType(VT_I4))) return -999999;
  return V_I4(v.Ptr());
}

com::CallError Failure(IDispatch* obj, const wchar_t* member, WORD flags, std::vector<Variant> args,
                       std::vector<com::NamedArg> named) {
  com::CallError e;
  Variant result;
  if (SUCCEEDED(com::Invoke(obj, member, flags, std::move(args), std::move(named), result.Ptr(),
                            &e)))
    ADD_FAILURE() << testing_support::Utf8(member) << " succeeded";
  return e;
}

WordSession::WordSession() { hr_ = CreateWord(&app_); }

WordSession::~WordSession() {
  if (app_) com::CallMethod(app_.Get(), L"Quit", {Variant::I4(0)});
}

}  // namespace standin_test

// Drives the stand-in as Word's clients do: by ProgID and late-bound IDispatch calls only.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "com_ptr.h"
#include "late_bound.h"
#include "variant.h"

namespace standin_test {

using com::ComPtr;
using com::Variant;

HRESULT CreateWord(ComPtr<IDispatch>* app);

// Each fails the current test (with the server's description) when the call fails.
Variant Get(IDispatch* obj, const wchar_t* member, std::vector<Variant> args = {});
ComPtr<IDispatch> GetObj(IDispatch* obj, const wchar_t* member, std::vector<Variant> args = {});
Variant Call(IDispatch* obj, const wchar_t* member, std::vector<Variant> args = {},
             std::vector<com::NamedArg> named = {});
void Put(IDispatch* obj, const wchar_t* member, const Variant& value);
std::wstring GetText(IDispatch* obj, const wchar_t* member);
LONG GetLong(IDispatch* obj, const wchar_t* member);

// A call expected to fail: its error.
com::CallError Failure(IDispatch* obj, const wchar_t* member, WORD flags,
                       std::vector<Variant> args = {}, std::vector<com::NamedArg> named = {});

// Quits the stand-in (without saving) when the test ends, so no process stays behind.
class WordSession {
 public:
  WordSession();
  ~WordSession();
  IDispatch* app() const { return app_.Get(); }
  HRESULT hr() const { return hr_; }

 private:
  ComPtr<IDispatch> app_;
  HRESULT hr_;
};

}  // namespace standin_test

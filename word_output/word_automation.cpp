#include "word_automation.h"

#include "hresult.h"

namespace quorrel {

com::DispidCache* WordObject::Cache() const { return surface_->CacheFor(type_); }

HRESULT WordObject::Call(const wchar_t* member, std::vector<com::Variant> args, VARIANT* result,
                         com::CallError* error) const {
  return com::CallMethod(obj_.Get(), member, std::move(args), result, error, Cache());
}

HRESULT WordObject::CallNamed(const wchar_t* member, std::vector<com::NamedArg> named,
                              VARIANT* result, com::CallError* error) const {
  return com::Invoke(obj_.Get(), member, DISPATCH_METHOD, {}, std::move(named), result, error,
                     Cache());
}

HRESULT WordObject::Get(const wchar_t* member, VARIANT* result, std::vector<com::Variant> args,
                        com::CallError* error) const {
  return com::GetProperty(obj_.Get(), member, result, std::move(args), error, Cache());
}

HRESULT WordObject::Put(const wchar_t* member, const com::Variant& value,
                        com::CallError* error) const {
  return com::PutProperty(obj_.Get(), member, value, error, Cache());
}

HRESULT WordObject::Child(const wchar_t* member, WordType type, WordObject* out,
                          std::vector<com::Variant> args, com::CallError* error) const {
  com::ComPtr<IDispatch> child;
  RETURN_IF_FAILED(com::GetObject(obj_.Get(), member, &child, std::move(args), error, Cache()));
  *out = WordObject(child.Get(), type, surface_);
  return S_OK;
}

}  // namespace quorrel

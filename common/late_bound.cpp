#include "late_bound.h"

#include "hresult.h"

namespace com {

HRESULT DispidCache::Lookup(IDispatch* obj, const wchar_t* member,
                            const std::vector<const wchar_t*>& named, std::vector<DISPID>* ids) {
  std::wstring key = member;
  for (const wchar_t* n : named) key.append(L"\n").append(n);
  auto it = ids_.find(key);
  if (it != ids_.end()) {
    *ids = it->second;
    return S_OK;
  }
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member)};
  for (const wchar_t* n : named) names.push_back(const_cast<LPOLESTR>(n));
  ids->assign(names.size(), DISPID_UNKNOWN);
  RETURN_IF_FAILED(obj->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                      LOCALE_USER_DEFAULT, ids->data()));
  ids_.emplace(std::move(key), *ids);
  return S_OK;
}

HRESULT Invoke(IDispatch* obj, const wchar_t* member, WORD flags, std::vector<Variant> args,
               std::vector<NamedArg> named, VARIANT* result, CallError* error,
               DispidCache* cache) {
  auto fail = [error](HRESULT hr) {
    if (error) { error->hr = hr; error->scode = hr; }
    return hr;
  };
  if (!obj) return fail(E_POINTER);

  std::vector<const wchar_t*> names;
  for (const NamedArg& n : named) names.push_back(n.name);
  std::vector<DISPID> ids;
  DispidCache local;
  HRESULT hr = (cache ? cache : &local)->Lookup(obj, member, names, &ids);
  if (FAILED(hr)) return fail(hr);

  // rgvarg holds named arguments first, then the positional ones in reverse order.
  std::vector<VARIANTARG> argv;
  std::vector<DISPID> named_ids(ids.begin() + 1, ids.end());
  for (NamedArg& n : named) argv.push_back(*n.value.Ptr());
  for (auto it = args.rbegin(); it != args.rend(); ++it) argv.push_back(*it->Ptr());
  DISPID put_id = DISPID_PROPERTYPUT;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    // The assigned value is the one named argument DISPID_PROPERTYPUT.
    named_ids.assign(1, put_id);
  }
  DISPPARAMS params{argv.data(), named_ids.empty() ? nullptr : named_ids.data(),
                    static_cast<UINT>(argv.size()), static_cast<UINT>(named_ids.size())};

  Variant ignored;
  EXCEPINFO excep{};
  UINT arg_err = 0;
  hr = obj->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                   result ? result : ignored.Ptr(), &excep, &arg_err);
  if (hr == DISP_E_EXCEPTION && excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
  HRESULT scode = hr;
  if (hr == DISP_E_EXCEPTION) {
    scode = excep.scode ? excep.scode
                        : (excep.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, excep.wCode)
                                       : E_FAIL);
  }
  if (error) {
    error->hr = hr;
    error->scode = scode;
    error->arg_err = arg_err;
    error->source = Bstr::Adopt(excep.bstrSource);
    error->description = Bstr::Adopt(excep.bstrDescription);
  } else {
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
  }
  SysFreeString(excep.bstrHelpFile);
  return FAILED(hr) ? scode : hr;
}

HRESULT CallMethod(IDispatch* obj, const wchar_t* member, std::vector<Variant> args,
                   VARIANT* result, CallError* error, DispidCache* cache) {
  return Invoke(obj, member, DISPATCH_METHOD, std::move(args), {}, result, error, cache);
}

HRESULT GetProperty(IDispatch* obj, const wchar_t* member, VARIANT* result,
                    std::vector<Variant> args, CallError* error, DispidCache* cache) {
  return Invoke(obj, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::move(args), {}, result,
                error, cache);
}

HRESULT PutProperty(IDispatch* obj, const wchar_t* member, const Variant& value, CallError* error,
                    DispidCache* cache) {
  return Invoke(obj, member, DISPATCH_PROPERTYPUT, {value}, {}, nullptr, error, cache);
}

HRESULT GetObject(IDispatch* obj, const wchar_t* member, ComPtr<IDispatch>* out,
                  std::vector<Variant> args, CallError* error, DispidCache* cache) {
  Variant v;
  RETURN_IF_FAILED(GetProperty(obj, member, v.Ptr(), std::move(args), error, cache));
  if (v.Type() != VT_DISPATCH || !V_DISPATCH(v.Ptr())) {
    if (error) { error->hr = DISP_E_TYPEMISMATCH; error->scode = DISP_E_TYPEMISMATCH; }
    return DISP_E_TYPEMISMATCH;
  }
  *out = V_DISPATCH(v.Ptr());
  return S_OK;
}

}  // namespace com

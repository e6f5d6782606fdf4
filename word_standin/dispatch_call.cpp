#include "dispatch_call.h"

#include <string>
#include <vector>

#include "bstr.h"
#include "com_ptr.h"
#include "journal.h"
#include "server_lifetime.h"
#include "test_control.h"
#include "typelib_dispatch.h"
#include "variant.h"

namespace standin {
namespace {

using com::Bstr;
using com::ComPtr;

// Calls the server makes on its own objects (the default-member rule) are not client calls.
int g_nested_calls;

struct MemberShape {
  bool has_method = false;
  bool has_get = false;
  int get_params = 0;  // of the property get, the return value not counted
};

MemberShape ShapeOf(ITypeInfo* info, DISPID id) {
  MemberShape shape;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return shape;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    if (func->memid == id) {
      if (func->invkind == INVOKE_FUNC) shape.has_method = true;
      if (func->invkind == INVOKE_PROPERTYGET) {
        shape.has_get = true;
        int params = func->cParams;
        for (SHORT p = 0; p < func->cParams; ++p)
          if (func->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) --params;
        shape.get_params = params;
      }
    }
    info->ReleaseFuncDesc(func);
  }
  info->ReleaseTypeAttr(attr);
  return shape;
}

std::vector<std::wstring> NamedArgumentNames(ITypeInfo* info, DISPID id, const DISPPARAMS& params) {
  std::vector<std::wstring> names;
  BSTR all[64] = {};
  UINT count = 0;
  if (FAILED(info->GetNames(id, all, 64, &count))) count = 0;
  for (UINT i = 0; i < params.cNamedArgs; ++i) {
    DISPID arg = params.rgdispidNamedArgs[i];
    names.push_back(arg >= 0 && static_cast<UINT>(arg) + 1 < count ? all[arg + 1] : L"");
  }
  for (UINT i = 0; i < count; ++i) SysFreeString(all[i]);
  return names;
}

HRESULT FailAsAsked(const std::wstring& what, EXCEPINFO* excep) {
  if (excep) {
    *excep = EXCEPINFO{};
    excep->scode = E_FAIL;
    excep->bstrSource = SysAllocString(L"Microsoft Word");
    excep->bstrDescription = SysAllocString((what + L" failed (test control).").c_str());
  }
  return DISP_E_EXCEPTION;
}

}  // namespace

HRESULT DispatchCall(const wchar_t* type_name, IDispatch* self, REFIID iid, DISPID id, WORD flags,
                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* arg_err) {
  if (ExitRequested()) return RPC_E_DISCONNECTED;
  DISPPARAMS none{};
  if (!params) params = &none;
  ComPtr<ITypeInfo> info;
  HRESULT hr = com::GetModuleTypeInfo(iid, info.Receive());
  if (FAILED(hr)) return hr;
  Bstr member;
  if (FAILED(info->GetDocumentation(id, member.Receive(), nullptr, nullptr, nullptr)))
    return DISP_E_MEMBERNOTFOUND;
  const MemberShape shape = ShapeOf(info.Get(), id);
  const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  const std::wstring what = std::wstring(type_name) + L"." + member.Str();

  if (g_nested_calls == 0) {
    const wchar_t* kind = put ? L"put" : (shape.has_method ? L"call" : L"get");
    AppendJournalLine(
        FormatCall(type_name, member.Str(), kind, *params, NamedArgumentNames(info.Get(), id, *params)));
    if (Control().fail_members.count(what)) return FailAsAsked(what, excep);
    PauseIfAsked(what);
  }

  ++g_nested_calls;
  // Word applies arguments given to a property without parameters to the default member of
  // the object it returns: Documents("name"), Tables(1), Headers(1).
  if (!put && (flags & DISPATCH_PROPERTYGET) && !shape.has_method && shape.has_get &&
      shape.get_params == 0 && params->cArgs > 0) {
    com::Variant object;
    DISPPARAMS no_args{};
    hr = info->Invoke(self, id, DISPATCH_PROPERTYGET, &no_args, object.Ptr(), excep, arg_err);
    if (SUCCEEDED(hr)) {
      if (object.Type() == VT_DISPATCH && V_DISPATCH(object.Ptr())) {
        // The default member may be a method (Tables.Item) or a property (Zoom.Percentage).
        hr = V_DISPATCH(object.Ptr())->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                               flags | DISPATCH_METHOD, params, result, excep,
                                               arg_err);
      } else {
        hr = DISP_E_BADPARAMCOUNT;
      }
    }
  } else {
    hr = info->Invoke(self, id, flags, params, result, excep, arg_err);
  }
  --g_nested_calls;
  return hr;
}

}  // namespace standin

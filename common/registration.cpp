#include "registration.h"

#include <oleauto.h>

#include <string>

#include "com_ptr.h"
#include "hresult.h"
#include "module.h"

namespace com {
namespace {

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  LSTATUS s = RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  return HRESULT_FROM_WIN32(s);
}

HRESULT DeleteTree(const std::wstring& key) {
  LSTATUS s = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (s == ERROR_SUCCESS || s == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
    return S_OK;
  }
  return HRESULT_FROM_WIN32(s);
}

HRESULT LoadOwnTypeLib(ITypeLib** lib) {
  return LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, lib);
}

}  // namespace

HRESULT RegisterClassAndTypeLib(const ClassRegistration& reg) {
  const std::wstring path = ModulePath();
  const std::wstring clsid = GuidText(*reg.clsid);
  const std::wstring key = L"CLSID\\" + clsid;

  ComPtr<ITypeLib> lib;
  RETURN_IF_FAILED(LoadOwnTypeLib(lib.Receive()));
  std::wstring dir = path.substr(0, path.find_last_of(L'\\') + 1);
  RETURN_IF_FAILED(RegisterTypeLib(lib.Get(), const_cast<LPOLESTR>(path.c_str()),
                                   const_cast<LPOLESTR>(dir.c_str())));

  RETURN_IF_FAILED(SetValue(key, nullptr, reg.description));
  if (reg.local_server) {
    RETURN_IF_FAILED(SetValue(key + L"\\LocalServer32", nullptr, L"\"" + path + L"\""));
  } else {
    RETURN_IF_FAILED(SetValue(key + L"\\InprocServer32", nullptr, path));
    RETURN_IF_FAILED(SetValue(key + L"\\InprocServer32", L"ThreadingModel", reg.threading_model));
  }
  RETURN_IF_FAILED(SetValue(key + L"\\ProgID", nullptr, reg.prog_id));
  RETURN_IF_FAILED(SetValue(key + L"\\TypeLib", nullptr, GuidText(*reg.libid)));
  RETURN_IF_FAILED(SetValue(key + L"\\VERSION", nullptr, reg.typelib_version));
  RETURN_IF_FAILED(SetValue(key + L"\\Programmable", nullptr, L""));
  if (reg.control) {
    RETURN_IF_FAILED(SetValue(key + L"\\Control", nullptr, L""));
    RETURN_IF_FAILED(SetValue(key + L"\\MiscStatus", nullptr, L"0"));
    RETURN_IF_FAILED(SetValue(key + L"\\MiscStatus\\1", nullptr, std::to_wstring(reg.misc_status)));
    if (reg.toolbox_bitmap_id) {
      RETURN_IF_FAILED(SetValue(key + L"\\ToolboxBitmap32", nullptr,
                                path + L", " + std::to_wstring(reg.toolbox_bitmap_id)));
    }
  }
  RETURN_IF_FAILED(SetValue(reg.prog_id, nullptr, reg.description));
  return SetValue(std::wstring(reg.prog_id) + L"\\CLSID", nullptr, clsid);
}

HRESULT UnregisterClassAndTypeLib(const ClassRegistration& reg) {
  HRESULT hr = DeleteTree(L"CLSID\\" + GuidText(*reg.clsid));
  HRESULT hr2 = DeleteTree(reg.prog_id);

  ComPtr<ITypeLib> lib;
  HRESULT hr3 = LoadOwnTypeLib(lib.Receive());
  if (SUCCEEDED(hr3)) {
    TLIBATTR* attr = nullptr;
    hr3 = lib->GetLibAttr(&attr);
    if (SUCCEEDED(hr3)) {
      hr3 = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                              attr->syskind);
      if (hr3 == TYPE_E_REGISTRYACCESS) hr3 = S_OK;  // was not registered
      lib->ReleaseTLibAttr(attr);
    }
  }
  if (FAILED(hr)) return hr;
  if (FAILED(hr2)) return hr2;
  return hr3;
}

}  // namespace com

#include "other_view_registration.h"

#include <string>

#include "halvane_h.h"
#include "hresult.h"
#include "module.h"

namespace halvane {
namespace {

// The automation marshalers for dual interfaces and for dispinterfaces.
const wchar_t kDualMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";
const wchar_t kDispatchMarshaler[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// The registry view of the other bitness, or 0 on a system that has only one.
REGSAM OtherView() {
#ifdef _WIN64
  return KEY_WOW64_32KEY;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? KEY_WOW64_64KEY : 0;
#endif
}

const wchar_t* OtherSysKind() {
#ifdef _WIN64
  return L"win32";
#else
  return L"win64";
#endif
}

std::wstring TypeLibKindKey() {
  return L"TypeLib\\" + GuidText(LIBID_Halvane) + L"\\1.0\\0\\" + OtherSysKind();
}

HRESULT SetValue(REGSAM view, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value) {
  HKEY h = nullptr;
  LSTATUS s = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | view, nullptr, &h, nullptr);
  if (s != ERROR_SUCCESS) return HRESULT_FROM_WIN32(s);
  s = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return HRESULT_FROM_WIN32(s);
}

bool ReadValue(REGSAM view, const std::wstring& key, std::wstring* value) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE | view, &h) !=
      ERROR_SUCCESS) {
    return false;
  }
  wchar_t buffer[MAX_PATH * 2];
  DWORD size = sizeof(buffer);
  LSTATUS s = RegGetValueW(h, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size);
  RegCloseKey(h);
  if (s != ERROR_SUCCESS) return false;
  if (value) *value = buffer;
  return true;
}

HRESULT RegisterInterface(REGSAM view, const GUID& iid, const wchar_t* name,
                          const wchar_t* marshaler) {
  const std::wstring key = L"Interface\\" + GuidText(iid);
  RETURN_IF_FAILED(SetValue(view, key, nullptr, name));
  RETURN_IF_FAILED(SetValue(view, key + L"\\ProxyStubClsid", nullptr, marshaler));
  RETURN_IF_FAILED(SetValue(view, key + L"\\ProxyStubClsid32", nullptr, marshaler));
  RETURN_IF_FAILED(SetValue(view, key + L"\\TypeLib", nullptr, GuidText(LIBID_Halvane)));
  return SetValue(view, key + L"\\TypeLib", L"Version", L"1.0");
}

void DeleteTree(REGSAM view, const std::wstring& key) {
  RegDeleteKeyExW(HKEY_CLASSES_ROOT, (key + L"\\ProxyStubClsid").c_str(), view, 0);
  RegDeleteKeyExW(HKEY_CLASSES_ROOT, (key + L"\\ProxyStubClsid32").c_str(), view, 0);
  RegDeleteKeyExW(HKEY_CLASSES_ROOT, (key + L"\\TypeLib").c_str(), view, 0);
  RegDeleteKeyExW(HKEY_CLASSES_ROOT, key.c_str(), view, 0);
}

}  // namespace

HRESULT RegisterInOtherView() {
  const REGSAM view = OtherView();
  if (!view) return S_OK;
  RETURN_IF_FAILED(RegisterInterface(view, IID__clsLullpane, L"_clsLullpane", kDualMarshaler));
  RETURN_IF_FAILED(
      RegisterInterface(view, DIID___clsLullpane, L"__clsLullpane", kDispatchMarshaler));
  // A build of the other bitness names its own file; only an empty place is filled.
  if (ReadValue(0, TypeLibKindKey(), nullptr)) return S_OK;
  return SetValue(0, TypeLibKindKey(), nullptr, com::ModulePath());
}

HRESULT UnregisterFromOtherView() {
  const REGSAM view = OtherView();
  if (!view) return S_OK;
  if (ReadValue(view, L"CLSID\\" + GuidText(CLSID_clsLullpane) + L"\\LocalServer32", nullptr)) {
    RETURN_IF_FAILED(RegisterInterface(view, IID__clsLullpane, L"_clsLullpane", kDualMarshaler));
    return RegisterInterface(view, DIID___clsLullpane, L"__clsLullpane", kDispatchMarshaler);
  }
  DeleteTree(view, L"Interface\\" + GuidText(IID__clsLullpane));
  DeleteTree(view, L"Interface\\" + GuidText(DIID___clsLullpane));
  std::wstring path;
  if (ReadValue(0, TypeLibKindKey(), &path) && _wcsicmp(path.c_str(), com::ModulePath().c_str()) == 0) {
    RegDeleteKeyExW(HKEY_CLASSES_ROOT, TypeLibKindKey().c_str(), 0, 0);
  }
  // The platform's unregistration keeps the version key while a place is filled; once none
  // is, the rest of it goes.
  const std::wstring lib = L"TypeLib\\" + GuidText(LIBID_Halvane);
  if (!ReadValue(0, lib + L"\\1.0\\0\\win32", nullptr) &&
      !ReadValue(0, lib + L"\\1.0\\0\\win64", nullptr)) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (lib + L"\\1.0").c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, lib.c_str());  // only when no other version is left
  }
  return S_OK;
}

}  // namespace halvane

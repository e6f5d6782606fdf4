#include "standin_registration.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "registration.h"
#include "word_standin_h.h"

namespace standin {
namespace {

constexpr wchar_t kProgId[] = L"Word.Application";

const com::ClassRegistration kRegistration = {
    &CLSID_Application, kProgId, L"Word automation stand-in for tests", &LIBID_WordStandin,
    L"1.0", /*local_server=*/true};

void WriteError(const std::wstring& message) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (!err || err == INVALID_HANDLE_VALUE) return;
  std::wstring line = message + L"\n";
  int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The CLSID the ProgID names now, or empty when it is not registered.
std::wstring RegisteredClsid() {
  wchar_t text[64] = {};
  DWORD bytes = sizeof(text);
  if (RegGetValueW(HKEY_CLASSES_ROOT, L"Word.Application\\CLSID", nullptr, RRF_RT_REG_SZ, nullptr,
                   text, &bytes) != ERROR_SUCCESS)
    return std::wstring();
  return text;
}

bool BelongsToAnother(std::wstring* other) {
  *other = RegisteredClsid();
  if (other->empty()) return false;
  wchar_t ours[40];
  StringFromGUID2(CLSID_Application, ours, 40);
  return CompareStringOrdinal(other->c_str(), -1, ours, -1, TRUE) != CSTR_EQUAL;
}

}  // namespace

int RegisterServer() {
  std::wstring other;
  if (BelongsToAnother(&other)) {
    WriteError(L"WordStandin: \"Word.Application\" is registered to " + other +
               L"; refusing to register over it.");
    return 2;
  }
  HRESULT hr = com::RegisterClassAndTypeLib(kRegistration);
  if (FAILED(hr)) {
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    WriteError(std::wstring(L"WordStandin: registration failed, ") + code);
    return 1;
  }
  return 0;
}

int UnregisterServer() {
  std::wstring other;
  if (BelongsToAnother(&other)) {
    WriteError(L"WordStandin: \"Word.Application\" belongs to " + other + L"; left as it is.");
    return 2;
  }
  return FAILED(com::UnregisterClassAndTypeLib(kRegistration)) ? 1 : 0;
}

}  // namespace standin

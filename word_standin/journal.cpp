#include "journal.h"

#include <cstdio>

#include "test_control.h"
#include "utf8.h"

namespace standin {
namespace {

const wchar_t* TypeName(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY: return L"VT_EMPTY";
    case VT_NULL: return L"VT_NULL";
    case VT_I1: return L"VT_I1";
    case VT_UI1: return L"VT_UI1";
    case VT_I2: return L"VT_I2";
    case VT_UI2: return L"VT_UI2";
    case VT_I4: return L"VT_I4";
    case VT_UI4: return L"VT_UI4";
    case VT_INT: return L"VT_INT";
    case VT_UINT: return L"VT_UINT";
    case VT_I8: return L"VT_I8";
    case VT_UI8: return L"VT_UI8";
    case VT_R4: return L"VT_R4";
    case VT_R8: return L"VT_R8";
    case VT_CY: return L"VT_CY";
    case VT_DATE: return L"VT_DATE";
    case VT_BSTR: return L"VT_BSTR";
    case VT_DISPATCH: return L"VT_DISPATCH";
    case VT_ERROR: return L"VT_ERROR";
    case VT_BOOL: return L"VT_BOOL";
    case VT_VARIANT: return L"VT_VARIANT";
    case VT_UNKNOWN: return L"VT_UNKNOWN";
    case VT_DECIMAL: return L"VT_DECIMAL";
    default: return nullptr;
  }
}

std::wstring QuoteText(const wchar_t* s, UINT length) {
  std::wstring out = L"\"";
  for (UINT i = 0; i < length; ++i) {
    wchar_t c = s[i];
    if (c == L'\r') out += L"\\r";
    else if (c == L'\n') out += L"\\n";
    else if (c == L'\t') out += L"\\t";
    else if (c < 0x20) {
      wchar_t hex[8];
      swprintf(hex, 8, L"\\x%02X", static_cast<unsigned>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out + L"\"";
}

// Up to six decimals, trailing zeros trimmed: 141.75, 2.835, 100.
std::wstring FormatDouble(double d) {
  wchar_t text[64];
  swprintf(text, 64, L"%.6f", d);
  std::wstring s = text;
  if (s.find(L'.') != std::wstring::npos) {
    while (s.back() == L'0') s.pop_back();
    if (s.back() == L'.') s.pop_back();
  }
  if (s == L"-0") s = L"0";
  return s;
}

std::wstring ValueText(const VARIANT& v) {
  VARTYPE vt = V_VT(&v);
  switch (vt) {
    case VT_BSTR: return QuoteText(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
    case VT_BOOL: return V_BOOL(&v) ? L"-1" : L"0";
    case VT_R4: return FormatDouble(V_R4(&v));
    case VT_R8: return FormatDouble(V_R8(&v));
    case VT_DISPATCH: case VT_UNKNOWN: case VT_EMPTY: case VT_NULL: return L"";
    case VT_ERROR: {
      wchar_t text[16];
      swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(V_ERROR(&v)));
      return text;
    }
    default: {
      VARIANT text;
      VariantInit(&text);
      if (FAILED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&v), 0x0409, 0, VT_BSTR)))
        return L"?";
      std::wstring s(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
      VariantClear(&text);
      return s;
    }
  }
}

}  // namespace

std::wstring FormatArgument(const VARIANT& v) {
  VARTYPE vt = V_VT(&v);
  if (vt & VT_BYREF) {
    VARTYPE base = vt & ~VT_BYREF;
    if (base == VT_VARIANT) return L"VT_BYREF|" + FormatArgument(*V_VARIANTREF(&v));
    // Copy what the reference points to into a plain VARIANT to reuse the value writer.
    VARIANT plain;
    VariantInit(&plain);
    if (FAILED(VariantCopyInd(&plain, const_cast<VARIANT*>(&v)))) return L"VT_BYREF";
    std::wstring s = L"VT_BYREF|" + FormatArgument(plain);
    VariantClear(&plain);
    return s;
  }
  const wchar_t* name = TypeName(vt);
  std::wstring head = name ? name : L"VT_" + std::to_wstring(vt);
  std::wstring value = ValueText(v);
  if (vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_EMPTY || vt == VT_NULL) return head;
  return head + L":" + value;
}

std::wstring FormatCall(const std::wstring& type, const std::wstring& member, const wchar_t* kind,
                        const DISPPARAMS& params, const std::vector<std::wstring>& named) {
  std::wstring line = type + L"." + member + L" " + kind;
  std::vector<std::wstring> items;
  const UINT count = params.cArgs, named_count = params.cNamedArgs;
  // rgvarg: the named arguments first, then the positional ones last to first.
  for (UINT i = count; i > named_count; --i) items.push_back(FormatArgument(params.rgvarg[i - 1]));
  std::wstring put_value;
  for (UINT i = 0; i < named_count; ++i) {
    if (params.rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) {
      put_value = FormatArgument(params.rgvarg[i]);
      continue;
    }
    std::wstring name = i < named.size() && !named[i].empty()
                            ? named[i]
                            : L"#" + std::to_wstring(params.rgdispidNamedArgs[i]);
    items.push_back(name + L":=" + FormatArgument(params.rgvarg[i]));
  }
  if (!put_value.empty()) items.push_back(put_value);
  for (size_t i = 0; i < items.size(); ++i) line += (i == 0 ? L" " : L", ") + items[i];
  return line;
}

std::wstring FormatLookup(const std::wstring& type, const OLECHAR* const* names, UINT count) {
  std::wstring line = type + L"." + names[0] + L" lookup";
  for (UINT i = 1; i < count; ++i) line += (i == 1 ? L" " : L", ") + std::wstring(names[i]);
  return line;
}

void AppendJournalLine(const std::wstring& line) {
  const std::wstring& path = Control().journal_path;
  if (path.empty()) return;
  // Opened per line in append mode: several server processes may share one journal.
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string bytes = Utf8(line) + "\r\n";
  DWORD written = 0;
  // Other processes see a written line at once; the disk need not, so no flush per call.
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace standin

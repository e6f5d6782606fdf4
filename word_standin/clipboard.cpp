#include "clipboard.h"

#include <cstring>

#include "fragment_codec.h"

namespace standin {
namespace {

UINT RichFormat() {
  static UINT format = RegisterClipboardFormatW(L"WordStandin.RichText");
  return format;
}

// Another program's process may hold the clipboard for a moment.
bool OpenClipboardWithRetry() {
  for (int i = 0; i < 20; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

HGLOBAL ToGlobal(const void* data, size_t bytes) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!mem) return nullptr;
  memcpy(GlobalLock(mem), data, bytes);
  GlobalUnlock(mem);
  return mem;
}

}  // namespace

HRESULT PutOnClipboard(const Fragment& fragment) {
  std::wstring plain;
  // As plain text, cells are separated by tabs and rows end lines; pictures have no text.
  const std::wstring& chars = fragment.text;
  for (size_t i = 0; i < chars.size(); ++i) {
    const wchar_t c = chars[i];
    if (c == kParagraphMark || c == kRowMark) plain += L"\r\n";
    else if (c == kCellMark) plain += (i + 1 < chars.size() && chars[i + 1] == kRowMark) ? L"" : L"\t";
    else if (c != kObjectMark) plain += c;
  }
  const std::string rich = EncodeFragment(fragment);
  if (!OpenClipboardWithRetry()) return HRESULT_FROM_WIN32(GetLastError());
  EmptyClipboard();
  HGLOBAL text = ToGlobal(plain.c_str(), (plain.size() + 1) * sizeof(wchar_t));
  HGLOBAL own = ToGlobal(rich.data(), rich.size());
  bool ok = text && own && SetClipboardData(CF_UNICODETEXT, text) &&
            SetClipboardData(RichFormat(), own);
  CloseClipboard();
  return ok ? S_OK : E_FAIL;
}

bool ReadClipboard(Fragment* fragment) {
  *fragment = Fragment();
  if (!OpenClipboardWithRetry()) return false;
  bool ok = false;
  if (HANDLE own = GetClipboardData(RichFormat())) {
    const char* data = static_cast<const char*>(GlobalLock(own));
    if (data) ok = DecodeFragment(std::string(data, GlobalSize(own)), fragment);
    GlobalUnlock(own);
  }
  if (!ok) {
    *fragment = Fragment();
    if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
      const wchar_t* data = static_cast<const wchar_t*>(GlobalLock(text));
      if (data) {
        // Line ends of plain text become paragraph marks.
        for (const wchar_t* p = data; *p; ++p) {
          if (*p == L'\r' && p[1] == L'\n') ++p;
          fragment->text += (*p == L'\n') ? kParagraphMark : *p;
        }
        ok = true;
      }
      GlobalUnlock(text);
    }
  }
  CloseClipboard();
  return ok;
}

}  // namespace standin

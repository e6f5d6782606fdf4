#include "clipboard.h"

#include <cstring>

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

// Rich layout: for each character its text, a superscript flag and its font name, in one
// UTF-16 block: c, flag, name length, name...
std::wstring Serialize(const Fragment& f) {
  std::wstring out;
  for (size_t i = 0; i < f.text.size(); ++i) {
    out += f.text[i];
    out += f.formats[i].superscript ? L'1' : L'0';
    out += static_cast<wchar_t>(f.formats[i].font_name.size());
    out += f.formats[i].font_name;
  }
  return out;
}

bool Deserialize(const wchar_t* data, size_t count, Fragment* f) {
  for (size_t i = 0; i < count;) {
    if (i + 3 > count) return false;
    CharFormat format;
    wchar_t c = data[i];
    format.superscript = data[i + 1] == L'1';
    size_t n = data[i + 2];
    if (i + 3 + n > count) return false;
    format.font_name.assign(data + i + 3, n);
    f->text += c;
    f->formats.push_back(format);
    i += 3 + n;
  }
  return true;
}

}  // namespace

HRESULT PutOnClipboard(const Fragment& fragment) {
  std::wstring plain;
  for (wchar_t c : fragment.text) {
    if (c == kParagraphMark) plain += L"\r\n"; else plain += c;
  }
  std::wstring rich = Serialize(fragment);
  if (!OpenClipboardWithRetry()) return HRESULT_FROM_WIN32(GetLastError());
  EmptyClipboard();
  HGLOBAL text = ToGlobal(plain.c_str(), (plain.size() + 1) * sizeof(wchar_t));
  HGLOBAL own = ToGlobal(rich.c_str(), rich.size() * sizeof(wchar_t) + sizeof(wchar_t));
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
    const wchar_t* data = static_cast<const wchar_t*>(GlobalLock(own));
    size_t count = GlobalSize(own) / sizeof(wchar_t);
    if (data && count > 0) ok = Deserialize(data, count - 1, fragment);
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

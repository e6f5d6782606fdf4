// Cost of one DrawButton, in one run: the three looks drawn directly on a surface, against the
// text measuring that drawing must not repeat (CenterCaption, FitToCaption), and Redraw as a
// client calls it through the vtable and late-bound through IDispatch.
// usage: pelorin_bench.exe [BIN_DIR]   (BIN_DIR holds Pelorin.dll; default ..\bin)
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "button_painter.h"
#include "com_ptr.h"
#include "module.h"
#include "pelorin_h.h"

namespace {

constexpr int kCalls = 20000;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1e6 * t.QuadPart / frequency.QuadPart;
}

// Microseconds per call of `step`, after a short warm-up.
double PerCall(const std::function<HRESULT()>& step) {
  for (int i = 0; i < 200; ++i) step();
  double start = Now();
  for (int i = 0; i < kCalls; ++i) {
    if (FAILED(step())) return -1;
  }
  return (Now() - start) / kCalls;
}

class Button : private pelorin::DrawingSurface::Events {
 public:
  Button() : surface(this) {}
  pelorin::ButtonState state;
  pelorin::DrawingSurface surface;

 private:
  HRESULT OnResize() override { return pelorin::HandleResize(state, surface); }
  void OnMouseDown() override {}
  void OnMouseUp(float, float) override {}
  void OnCaptureLost() override {}
  void OnPositionRequest(const RECT&) override {}
};

void Row(const char* what, double us) { printf("  %-44s %8.2f us/call\n", what, us); }

std::wstring BinDir(int argc, wchar_t** argv) {
  if (argc > 1) return std::wstring(argv[1]) + L"\\";
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  dir = dir.substr(0, dir.find_last_of(L'\\'));          // ...\bench
  return dir.substr(0, dir.find_last_of(L'\\') + 1) + L"bin\\";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitialize(nullptr);
  com::SetModuleInstance(GetModuleHandleW(nullptr));
  FONTDESC desc{sizeof(FONTDESC), const_cast<LPOLESTR>(L"IPAGothic"), {}, FW_NORMAL,
                SHIFTJIS_CHARSET, FALSE, FALSE, FALSE};
  desc.cySize.int64 = 9 * 10000;
  com::ComPtr<IFontDisp> font;
  Button b;
  if (FAILED(OleCreateFontIndirect(&desc, IID_IFontDisp, font.ReceiveVoid())) ||
      FAILED(b.surface.Initialize()) || FAILED(b.surface.SetFont(font.Get()))) {
    fprintf(stderr, "pelorin_bench: no surface\n");
    return 1;
  }
  b.state.caption = L"キャンセル";
  b.state.enabled = VARIANT_TRUE;
  b.state.text_color = 0x80000012;
  b.state.back_color = 0x8000000F;
  b.state.down_text_color = 0x8000000D;
  b.state.down_back_color = 0x00FFFFFF;
  b.state.border_width = 1;
  b.state.margin_width = 300;
  b.state.margin_height = 200;
  pelorin::FitToCaption(b.state, b.surface);
  printf("DrawButton on a %ld x %ld pixel face, %d calls each:\n", b.surface.PixelSize().cx,
         b.surface.PixelSize().cy, kCalls);
  const double normal = PerCall([&] { return pelorin::DrawButton(b.state, b.surface); });
  Row("normal look", normal);
  b.state.is_down = true;
  Row("pressed look", PerCall([&] { return pelorin::DrawButton(b.state, b.surface); }));
  b.state.is_down = false;
  b.state.enabled = VARIANT_FALSE;
  Row("disabled look (no pen)", PerCall([&] { return pelorin::DrawButton(b.state, b.surface); }));
  b.state.enabled = VARIANT_TRUE;
  Row("clear only (the face fill)", PerCall([&] { return b.surface.Clear(); }));
  const double centre = PerCall([&] { return pelorin::CenterCaption(b.state, b.surface); });
  Row("CenterCaption (one text measure)", centre);
  Row("FitToCaption (measure, extent unchanged)",
      PerCall([&] { return pelorin::FitToCaption(b.state, b.surface); }));

  // The control as a client reaches it.
  const std::wstring dll_path = BinDir(argc, argv) + L"Pelorin.dll";
  HMODULE dll = LoadLibraryW(dll_path.c_str());
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get_class =
      dll ? reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll, "DllGetClassObject")) : nullptr;
  com::ComPtr<IClassFactory> factory;
  com::ComPtr<_TavFlatBtn> button;
  com::ComPtr<IPersistPropertyBag> persist;
  if (!get_class || FAILED(get_class(CLSID_TavFlatBtn, IID_IClassFactory, factory.ReceiveVoid())) ||
      FAILED(factory->CreateInstance(nullptr, IID__TavFlatBtn, button.ReceiveVoid())) ||
      FAILED(button.As(&persist)) || FAILED(persist->InitNew())) {
    fprintf(stderr, "pelorin_bench: cannot create the control from %ls\n", dll_path.c_str());
    return 1;
  }
  BSTR caption = SysAllocString(L"キャンセル");
  HRESULT hr = button->put_Caption(&caption);
  SysFreeString(caption);
  if (FAILED(hr)) return 1;
  printf("Redraw of the control with the same caption (no container), %d calls each:\n", kCalls);
  Row("vtable call", PerCall([&] { return button->Redraw(); }));
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  Row("late bound (IDispatch::Invoke)", PerCall([&] {
        return button->Invoke(0x6003000E, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                              nullptr, nullptr, nullptr);
      }));
  printf("A drawing costs %.1f text measures.\n", normal / centre);
  persist.Reset();
  button.Reset();
  factory.Reset();
  CoUninitialize();
  return 0;
}

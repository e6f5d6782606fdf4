// Renders the button's normal, pressed and disabled looks to BMP files for checking by eye.
// usage: flat_button_render_looks.exe OUTPUT_DIR
#include <cstdio>

#include "flat_button_fixture.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: flat_button_render_looks OUTPUT_DIR\n");
    return 2;
  }
  const std::wstring dir = argv[1];
  testing_support::ComApartment apartment;
  testing_support::ControlHost host;
  host.ambients().font = flat_button_test::MakeFont(L"IPAGothic", 14, SHIFTJIS_CHARSET);
  host.ambients().display_name = L"キャンセル";
  HRESULT hr = host.Create(testing_support::BinDir() + L"Pelorin.dll", CLSID_TavFlatBtn,
                           DIID___TavFlatBtn);
  if (SUCCEEDED(hr)) hr = host.InitNew();
  com::ComPtr<_TavFlatBtn> button = host.As<_TavFlatBtn>();
  if (SUCCEEDED(hr)) hr = button->put_AutoSize(VARIANT_TRUE);
  if (SUCCEEDED(hr)) hr = host.Activate();
  if (FAILED(hr)) {
    fprintf(stderr, "render_looks: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  bool ok = host.Snapshot().SaveBmp(dir + L"\\flat_button_normal.bmp");
  host.Mouse(WM_LBUTTONDOWN, 3, 3);
  ok = host.Snapshot().SaveBmp(dir + L"\\flat_button_pressed.bmp") && ok;
  host.Mouse(WM_LBUTTONUP, 3, 3);
  VARIANT_BOOL disabled = VARIANT_FALSE;
  button->put_Enabled(&disabled);
  ok = host.Snapshot().SaveBmp(dir + L"\\flat_button_disabled.bmp") && ok;
  button.Reset();
  host.Close();
  return ok ? 0 : 1;
}

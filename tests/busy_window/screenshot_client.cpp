// Shows the busy window for scripts/screenshot-busy-window.sh: 5 s animating, then a cancel
// click and 4 s more, then stops.
#include <windows.h>
#include <objbase.h>

#include "com_ptr.h"
#include "com_test_env.h"
#include "lullpane_client.h"

int main() {
  using namespace busy_window_test;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  {
    com::ComPtr<IDispatch> busy;
    if (FAILED(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                busy.ReceiveVoid()))) {
      return 1;
    }
    OwnerWindow owner;
    if (FAILED(StartAnime(busy.Get(), owner.hwnd()))) return 1;
    HWND form = FindForm(owner.hwnd());
    testing_support::PumpMessages(5000);
    PostMessageW(CancelButton(form), BM_CLICK, 0, 0);
    testing_support::PumpMessages(4000);
    StopAnime(busy.Get());
  }
  CoUninitialize();
  return 0;
}

// A client that starts a busy window without an owner and then waits to be killed, leaving
// its object behind: the test of the server's end with its client.
#include <windows.h>
#include <objbase.h>

#include "com_ptr.h"
#include "lullpane_client.h"

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  com::ComPtr<IDispatch> busy;
  if (FAILED(CoCreateInstance(busy_window_test::kClsid, nullptr, CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, busy.ReceiveVoid())) ||
      FAILED(busy_window_test::StartAnime(busy.Get(), nullptr))) {
    return 1;
  }
  for (;;) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }
}

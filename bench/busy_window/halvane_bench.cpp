// Measures the busy window server as a client sees it, in one run:
//  - activation: creating the object (a new server process each time) and the first StartAnime
//  - tick cadence over 40 ticks while the client's thread is blocked, against the 500 ms timer
//  - the server's CPU time per tick, and per 500 ms while stopped
// Ticks are observed from the screen: a watcher thread polls the worker picture's pixels.
// Run under a display (scripts/bench-busy-window.sh).
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "com_ptr.h"
#include "variant.h"

namespace {

const CLSID kClsid = {0xBD3DE365, 0x5BBF, 0x4558, {0xB9, 0xC2, 0x39, 0x4C, 0x5F, 0x89, 0x07, 0xF1}};
constexpr DISPID kStartAnime = 0x60030000;
constexpr DISPID kStopAnime = 0x60030001;
constexpr int kActivations = 5;
constexpr int kTicks = 40;
constexpr int kQuietSeconds = 10;
constexpr RECT kAnime = {24, 24, 124, 124};  // the worker picture in the form's client area

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * t.QuadPart / frequency.QuadPart;
}

HRESULT StartAnime(IDispatch* busy, HWND owner) {
  com::Variant arg = com::Variant::I4(static_cast<LONG>(reinterpret_cast<LONG_PTR>(owner)));
  VARIANTARG argv = *arg.Ptr();
  DISPPARAMS params{&argv, nullptr, 1, 0};
  return busy->Invoke(kStartAnime, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                      nullptr, nullptr, nullptr);
}

HRESULT StopAnime(IDispatch* busy) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return busy->Invoke(kStopAnime, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                      nullptr, nullptr);
}

HWND FindForm(HWND owner) {
  for (int i = 0; i < 500; ++i) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"HalvaneWaitform", nullptr); w;
         w = FindWindowExW(nullptr, w, L"HalvaneWaitform", nullptr)) {
      if (GetWindow(w, GW_OWNER) == owner) return w;
    }
    Sleep(10);
  }
  return nullptr;
}

// The worker picture's pixels as the screen shows them.
std::vector<DWORD> GrabWorker(HDC screen, HDC memory, HBITMAP dib, const void* bits, POINT at) {
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, kAnime.right - kAnime.left, kAnime.bottom - kAnime.top, screen,
         at.x + kAnime.left, at.y + kAnime.top, SRCCOPY);
  GdiFlush();
  SelectObject(memory, old);
  const DWORD* p = static_cast<const DWORD*>(bits);
  return std::vector<DWORD>(p, p + (kAnime.right - kAnime.left) * (kAnime.bottom - kAnime.top));
}

// Times of the first `count` changes of the worker picture, from another thread.
std::vector<double> WatchTicks(HWND form, int count, std::atomic<bool>* done) {
  RECT r;
  GetWindowRect(form, &r);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kAnime.right - kAnime.left;
  info.bmiHeader.biHeight = -(kAnime.bottom - kAnime.top);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<double> times;
  std::vector<DWORD> last = GrabWorker(screen, memory, dib, bits, {r.left, r.top});
  const double give_up = Now() + count * 2000.0;
  while (static_cast<int>(times.size()) < count && Now() < give_up) {
    std::vector<DWORD> now = GrabWorker(screen, memory, dib, bits, {r.left, r.top});
    if (now != last) {
      times.push_back(Now());
      last.swap(now);
    }
    Sleep(1);
  }
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  *done = true;
  return times;
}

double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto ms = [](FILETIME f) {
    return ((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

struct Stats {
  double mean = 0, min = 0, max = 0;
};

Stats Summarise(const std::vector<double>& v) {
  Stats s;
  if (v.empty()) return s;
  s.min = *std::min_element(v.begin(), v.end());
  s.max = *std::max_element(v.begin(), v.end());
  for (double x : v) s.mean += x;
  s.mean /= v.size();
  return s;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
  int status = 0;
  {
    std::vector<double> create_ms, start_ms;
    for (int i = 0; i < kActivations; ++i) {
      com::ComPtr<IDispatch> busy;
      double t0 = Now();
      HRESULT hr = CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    busy.ReceiveVoid());
      double t1 = Now();
      if (SUCCEEDED(hr)) hr = StartAnime(busy.Get(), owner);
      double t2 = Now();
      if (FAILED(hr)) {
        std::printf("activation failed: 0x%08lX\n", static_cast<unsigned long>(hr));
        return 1;
      }
      create_ms.push_back(t1 - t0);
      start_ms.push_back(t2 - t1);
    }
    Stats create = Summarise(create_ms), start = Summarise(start_ms);
    std::printf("activation (%d, each a new server process)\n", kActivations);
    std::printf("  create object        mean %7.1f ms  min %7.1f  max %7.1f\n", create.mean,
                create.min, create.max);
    std::printf("  first StartAnime     mean %7.1f ms  min %7.1f  max %7.1f  (loads the form)\n",
                start.mean, start.min, start.max);

    com::ComPtr<IDispatch> busy;
    if (FAILED(CoCreateInstance(kClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                busy.ReceiveVoid())) ||
        FAILED(StartAnime(busy.Get(), owner))) {
      return 1;
    }
    HWND form = FindForm(owner);
    DWORD server_id = 0;
    GetWindowThreadProcessId(form, &server_id);
    HANDLE server = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, server_id);
    if (!form || !server) return 1;

    // One more change than intervals; the client's thread sleeps throughout.
    std::atomic<bool> done{false};
    std::vector<double> times;
    double cpu_before = CpuMs(server);
    std::thread watcher([&] { times = WatchTicks(form, kTicks + 1, &done); });
    while (!done) Sleep(200);  // blocked: no messages pumped, no calls answered
    watcher.join();
    double cpu_after = CpuMs(server);

    std::vector<double> intervals;
    for (size_t i = 1; i < times.size(); ++i) intervals.push_back(times[i] - times[i - 1]);
    Stats tick = Summarise(intervals);
    std::printf("tick cadence over %zu ticks, client thread blocked (timer 500 ms)\n",
                intervals.size());
    std::printf("  interval             mean %7.1f ms  min %7.1f  worst %7.1f  (%+.1f%% mean vs 500)\n",
                tick.mean, tick.min, tick.max, (tick.mean - 500.0) / 5.0);
    if (!times.empty()) {
      std::printf("server CPU per tick    %7.2f ms  (%.1f ms over %.1f s, screen watched)\n",
                  (cpu_after - cpu_before) / std::max<size_t>(intervals.size(), 1),
                  cpu_after - cpu_before, (times.back() - times.front()) / 1000.0);
    }
    // The same without the watcher, and the stopped form's baseline over the same time.
    cpu_before = CpuMs(server);
    Sleep(kQuietSeconds * 1000);
    double running = CpuMs(server) - cpu_before;
    StopAnime(busy.Get());
    cpu_before = CpuMs(server);
    Sleep(kQuietSeconds * 1000);
    double stopped = CpuMs(server) - cpu_before;
    // Process times here count in 10 ms steps: a zero total means under 10 ms in all.
    std::printf("server CPU unwatched   %7.2f ms per tick running (%.0f ms in %d s), "
                "%.0f ms in %d s stopped\n",
                running / (kQuietSeconds * 2), running, kQuietSeconds, stopped, kQuietSeconds);
    CloseHandle(server);
    if (static_cast<int>(intervals.size()) != kTicks) status = 1;
  }
  DestroyWindow(owner);
  CoUninitialize();
  return status;
}

// Client-side helpers for driving clsLullpane in its own server process: an event sink, the
// owner window, finding the server's form and reading its pixels from the screen.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

#include "com_ptr.h"

namespace busy_window_test {

extern const CLSID kClsid;
extern const IID kIid;          // _clsLullpane
extern const IID kEventsIid;    // __clsLullpane
constexpr DISPID kStartAnime = 0x60030000;
constexpr DISPID kStopAnime = 0x60030001;
constexpr DISPID kOnCancelButtonClicked = 1;

// Late-bound calls, as script and VB clients make them.
HRESULT StartAnime(IDispatch* busy, HWND owner);
HRESULT StopAnime(IDispatch* busy);

// An __clsLullpane sink counting OnCancelButtonClicked and running `on_cancel` in it.
class EventSink final : public IDispatch {
 public:
  EventSink() = default;
  std::function<void()> on_cancel;
  int cancel_count = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // owned by the test
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override;

 private:
  ULONG refs_ = 1;
};

// Advises `sink` on `busy` for the life of this object.
class Connection {
 public:
  Connection(IUnknown* busy, IDispatch* sink);
  ~Connection();
  HRESULT hr() const { return hr_; }

 private:
  com::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  HRESULT hr_ = E_FAIL;
};

// A hidden top-level window of this process, the owner a client passes to StartAnime.
class OwnerWindow {
 public:
  OwnerWindow();
  ~OwnerWindow();
  HWND hwnd() const { return hwnd_; }
  void Destroy();

 private:
  HWND hwnd_ = nullptr;
};

// The busy form owned by `owner` (or, for nullptr, any busy form of another process), waiting
// up to `ms` for it to appear.
HWND FindForm(HWND owner, DWORD ms = 5000);
// The form's child windows: the two picture boxes in creation order and the cancel button.
HWND FormChild(HWND form, int index);
HWND CancelButton(HWND form);

// The process serving the object that shows `form`, opened for waiting.
HANDLE OpenServerProcess(HWND form);
// True when `process` has ended within `ms`, pumping this thread's messages meanwhile.
bool WaitForExit(HANDLE process, DWORD ms);

// Pixels of a window's area on the screen.
class Capture {
 public:
  explicit Capture(HWND window);
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF At(int x, int y) const;
  bool SameRegion(const Capture& other, const RECT& region) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};

// Captures `form` until `region` differs from `before` (a tick happened), up to `ms`.
bool WaitForRegionChange(HWND form, const Capture& before, const RECT& region, DWORD ms);

// The test's own source folder of the committed pictures, as a Windows path.
std::wstring PicturePath(const wchar_t* file);

}  // namespace busy_window_test

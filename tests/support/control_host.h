// A small ActiveX control container: one control on one top-level window, with a client site,
// an in-place site, ambient properties, change notices and an event sink. Used by the tests
// and by sample programs.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "com_ptr.h"

namespace testing_support {

// What the container answers for the standard ambient properties.
struct Ambients {
  bool user_mode = true;
  std::wstring display_name = L"FlatBtn1";
  com::ComPtr<IFontDisp> font;  // none: the property is not offered
  HRESULT user_mode_error = S_OK;  // a failure to answer the user-mode query with
};

// A 32-bit top-down copy of what the control draws; pixels are 0x00RRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool operator==(const Image& o) const {
    return width == o.width && height == o.height && pixels == o.pixels;
  }
  // Writes a 24-bit BMP file.
  bool SaveBmp(const std::wstring& path) const;
};

// 0x00RRGGBB of a COLORREF or OLE colour (system colours translated).
uint32_t Rgb(OLE_COLOR color);

class ControlSite;

class ControlHost {
 public:
  ControlHost();
  ~ControlHost();
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;

  // Creates the control from the server DLL (no registration needed) and sets the site.
  HRESULT Create(const std::wstring& dll_path, REFCLSID clsid, REFIID events_iid);
  HRESULT InitNew();
  HRESULT Load(IPropertyBag* bag);
  HRESULT Save(IPropertyBag* bag);
  // In-place activates the control at the top-left corner of the host window.
  HRESULT Activate();
  void Close();
  // Shows the host window (it starts hidden) so that the control's window reaches the screen.
  void Show();

  Ambients& ambients();
  IUnknown* control() const { return control_.Get(); }
  template <class T>
  com::ComPtr<T> As() const {
    com::ComPtr<T> out;
    if (control_) control_->QueryInterface(__uuidof(T), out.ReceiveVoid());
    return out;
  }
  HWND window() const;  // the control's own window
  HWND host_window() const { return host_; }

  // DISPIDs of the change notices and of the events received, in order.
  std::vector<DISPID>& changes();
  std::vector<DISPID>& events();
  // View changes the control reported (each drawing of its image).
  int& view_changes();
  // Moves and sizes the active control as a container's layout would.
  HRESULT Place(const RECT& rect);

  // The control's image through IViewObject::Draw, at the size of its window.
  Image Snapshot() const;
  // Sends a mouse message to the control's window at client pixel (x, y).
  void Mouse(UINT message, int x, int y) const;

 private:
  HMODULE dll_ = nullptr;
  HWND host_ = nullptr;
  com::ComPtr<IUnknown> control_;
  ControlSite* site_ = nullptr;
  DWORD notify_cookie_ = 0;
  DWORD events_cookie_ = 0;
  IID events_iid_{};
};

}  // namespace testing_support

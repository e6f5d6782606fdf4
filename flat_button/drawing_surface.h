// The control's drawing surface: a persistent off-screen image of the whole control, shown by
// the control's window on WM_PAINT, with the font, colours and extent the painting uses.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "com_ptr.h"

namespace pelorin {

class DrawingSurface {
 public:
  // What the surface reports to the control.
  class Events {
   public:
    virtual HRESULT OnResize() = 0;
    virtual void OnMouseDown() = 0;
    virtual void OnMouseUp(float x_twips, float y_twips) = 0;
    // Another window took the mouse between a press and its release.
    virtual void OnCaptureLost() = 0;
    // Asks the container to move the window to `rect` (pixels in the container's window).
    virtual void OnPositionRequest(const RECT& rect) = 0;

   protected:
    ~Events() = default;
  };

  explicit DrawingSurface(Events* events);
  ~DrawingSurface();
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;

  // Memory DC, initial font and initial extent.
  HRESULT Initialize();

  // The device context of the image, with the current font selected.
  HDC Dc();

  IFontDisp* Font() const { return font_disp_.Get(); }
  // Uses a copy of `font` from now on (a later change to the caller's object is not seen).
  HRESULT SetFont(IFontDisp* font);

  HRESULT SetForeColor(OLE_COLOR color);
  // Fills the whole image with the colour.
  HRESULT SetBackColor(OLE_COLOR color);
  HRESULT Clear();

  float Width() const { return width_; }    // twips
  float Height() const { return height_; }  // twips
  // Raise the resize event when the extent changes.
  HRESULT SetWidth(float twips);
  HRESULT SetHeight(float twips);
  double TwipsPerPixelX() const { return twips_per_pixel_x_; }
  double TwipsPerPixelY() const { return twips_per_pixel_y_; }
  SIZE PixelSize() const { return pixels_; }

  // A disabled surface gets no mouse events.
  void SetEnabled(bool enabled);

  // The window that shows the image, a child of `parent` placed at `rect`.
  HRESULT CreateWindowIn(HWND parent, const RECT& rect);
  void DestroyWindow();
  HWND Window() const { return window_; }
  // The container places the window; a new size becomes the new extent.
  HRESULT SetWindowRect(const RECT& rect);

  // Copies the image to `target`, stretched to `bounds`.
  HRESULT Render(HDC target, const RECT& bounds);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HRESULT SetExtent(float width, float height);
  HRESULT ResizeImage();
  void Invalidate();

  Events* events_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_bitmap_ = nullptr;
  HGDIOBJ original_font_ = nullptr;
  com::ComPtr<IFont> font_;
  com::ComPtr<IFontDisp> font_disp_;
  COLORREF back_color_ = RGB(255, 255, 255);
  float width_ = 0;
  float height_ = 0;
  SIZE pixels_{};
  double twips_per_pixel_x_ = 15;
  double twips_per_pixel_y_ = 15;
  bool enabled_ = true;
  HWND window_ = nullptr;
  RECT window_rect_{};
};

}  // namespace pelorin

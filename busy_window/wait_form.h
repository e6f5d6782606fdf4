// frmWaitform: the borderless busy window with the animated worker and caption, the cancel
// button and the 500 ms timer. It lives on the server's one thread.
#pragma once
#include <windows.h>

#include <memory>

#include "form_pictures.h"
#include "twips.h"

namespace halvane {

// What the form tells its owning object, in this order of declaration.
class WaitFormEvents {
 public:
  virtual void OnCancelButtonClicked() = 0;
  virtual void OnTimer() = 0;
  // The window was destroyed without Unload: Windows does that to an owned window, also one of
  // another process, when its owner goes. Its timer went with it.
  virtual void OnFormDestroyed() = 0;

 protected:
  ~WaitFormEvents() = default;
};

class WaitForm : public std::enable_shared_from_this<WaitForm> {
 public:
  // A form that is not loaded yet; `events` must outlive it or be detached by Unload.
  static std::shared_ptr<WaitForm> Create(WaitFormEvents* events);
  ~WaitForm();

  // Modeless show without owner; the first one loads the form and centres it on the screen.
  HRESULT Show();
  void Hide();
  // Destroys the window; the form stays unloaded and tells nothing more.
  void Unload();

  HWND hwnd() const { return hwnd_; }
  void StartAnime();
  void StopAnime();
  bool CancelButtonEnabled() const;
  void SetCancelButtonEnabled(bool enabled);

 private:
  explicit WaitForm(WaitFormEvents* events) : events_(events) {}
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);

  HRESULT Load();
  void Tick();
  void DrawTextFrame(int i);
  void OnCancelClick();
  void Paint();

  WaitFormEvents* events_;
  TwipsPerPixel tpp_{15, 15};
  HWND hwnd_ = nullptr;
  HWND pic_anime_ = nullptr;
  HWND pic_text_ = nullptr;
  HWND cmd_cancel_ = nullptr;
  HICON icon_big_ = nullptr;
  HICON icon_small_ = nullptr;
  RECT shape1_{};
  RECT image3_{};
  bool image3_visible_ = false;
  FormPictures pictures_;
  Surface pic_text_surface_;
  short anime_frame_no_ = 0;
  short anime_last_frame_no_ = 0;
  short text_frame_no_ = 0;
};

}  // namespace halvane

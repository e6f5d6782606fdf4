// The busy form's frame stores, decoded once when the form loads and kept on prepared
// surfaces, so that a tick only switches or copies pixels.
#pragma once
#include <windows.h>

#include <array>

#include "surface.h"

namespace halvane {

constexpr int kWorkerFrameCount = 5;
constexpr int kTextFrameCount = 7;

class FormPictures {
 public:
  // `text_frame_size` is the pixel size of a text frame surface; each text picture is drawn at
  // its top left corner over `background`, as is the cancel picture on its own surface.
  HRESULT Load(SIZE text_frame_size, COLORREF background);

  const Surface& worker(int i) const { return workers_[i]; }
  const Surface& text(int i) const { return texts_[i]; }
  const Surface& cancel() const { return cancel_; }

 private:
  std::array<Surface, kWorkerFrameCount> workers_;
  std::array<Surface, kTextFrameCount> texts_;
  Surface cancel_;
};

}  // namespace halvane

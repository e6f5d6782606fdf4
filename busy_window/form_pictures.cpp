#include "form_pictures.h"

#include "hresult.h"
#include "picture_resource.h"
#include "resource_ids.h"

namespace halvane {
namespace {

// Decodes picture `id` onto a new surface of the given size, or of the picture's own size.
HRESULT Prepare(int id, Surface* surface, COLORREF background, const SIZE* size = nullptr) {
  com::ComPtr<IPicture> picture;
  RETURN_IF_FAILED(LoadPictureResource(id, &picture));
  SIZE own = {};
  if (!size) {
    RETURN_IF_FAILED(PicturePixelSize(picture.Get(), &own));
    size = &own;
  }
  if (!surface->Create(size->cx, size->cy, background)) return E_OUTOFMEMORY;
  return DrawPicture(picture.Get(), surface->dc(), 0, 0);
}

}  // namespace

HRESULT FormPictures::Load(SIZE text_frame_size, COLORREF background) {
  for (int i = 0; i < kWorkerFrameCount; ++i) {
    RETURN_IF_FAILED(Prepare(IDR_WORKER_FRAME_FIRST + i, &workers_[i], background));
  }
  for (int i = 0; i < kTextFrameCount; ++i) {
    RETURN_IF_FAILED(Prepare(IDR_TEXT_FRAME_FIRST + i, &texts_[i], background, &text_frame_size));
  }
  return Prepare(IDR_CANCEL_PICTURE, &cancel_, background);
}

}  // namespace halvane

#include "picture_resource.h"

#include <cstring>

#include "hresult.h"
#include "module.h"

namespace halvane {

HRESULT PicturePixelSize(IPicture* picture, SIZE* size) {
  OLE_HANDLE handle = 0;
  RETURN_IF_FAILED(picture->get_Handle(&handle));
  BITMAP bm{};
  if (!GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof(bm), &bm)) {
    return E_FAIL;
  }
  *size = {bm.bmWidth, bm.bmHeight};
  return S_OK;
}

HRESULT LoadPictureResource(int id, com::ComPtr<IPicture>* out) {
  HMODULE module = com::ModuleInstance();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (!found) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
  DWORD size = SizeofResource(module, found);
  const void* bytes = LockResource(LoadResource(module, found));
  if (!bytes || size == 0) return E_FAIL;

  // The stream owns a copy: the picture may keep reading from it.
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return E_OUTOFMEMORY;
  memcpy(GlobalLock(copy), bytes, size);
  GlobalUnlock(copy);
  com::ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(copy, TRUE, stream.Receive());
  if (FAILED(hr)) {
    GlobalFree(copy);
    return hr;
  }
  return OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                        out->ReceiveVoid());
}

HRESULT DrawPicture(IPicture* picture, HDC target, int x, int y) {
  SIZE pixels;
  RETURN_IF_FAILED(PicturePixelSize(picture, &pixels));
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  RETURN_IF_FAILED(picture->get_Width(&width));
  RETURN_IF_FAILED(picture->get_Height(&height));
  return picture->Render(target, x, y, pixels.cx, pixels.cy, 0, height, width, -height, nullptr);
}

}  // namespace halvane

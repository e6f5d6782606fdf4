#include "picture_file.h"

#include <wincodec.h>

#include "com_ptr.h"

namespace standin {
namespace {

constexpr DWORD kMaxPictureSize = 64u << 20;

const wchar_t* ExtensionOf(const GUID& container) {
  if (IsEqualGUID(container, GUID_ContainerFormatPng)) return L"png";
  if (IsEqualGUID(container, GUID_ContainerFormatBmp)) return L"bmp";
  if (IsEqualGUID(container, GUID_ContainerFormatGif)) return L"gif";
  if (IsEqualGUID(container, GUID_ContainerFormatJpeg)) return L"jpeg";
  return nullptr;
}

bool ReadAll(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxPictureSize;
  if (ok) {
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ok = ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
         read == bytes->size();
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

PictureResult LoadPictureFile(const std::wstring& path, PictureFile* picture) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return PictureResult::kNotFound;
  if (!ReadAll(path, &picture->bytes)) return PictureResult::kUndecodable;

  com::ComPtr<IWICImagingFactory> factory;
  com::ComPtr<IWICStream> stream;
  com::ComPtr<IWICBitmapDecoder> decoder;
  com::ComPtr<IWICBitmapFrameDecode> frame;
  GUID container{};
  UINT width = 0, height = 0;
  double dpi_x = 0, dpi_y = 0;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.ReceiveVoid())) ||
      FAILED(factory->CreateStream(stream.Receive())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(&picture->bytes[0]),
                                          static_cast<DWORD>(picture->bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                              WICDecodeMetadataCacheOnDemand, decoder.Receive())) ||
      FAILED(decoder->GetContainerFormat(&container)) || !ExtensionOf(container) ||
      FAILED(decoder->GetFrame(0, frame.Receive())) || FAILED(frame->GetSize(&width, &height)) ||
      width == 0 || height == 0) {
    return PictureResult::kUndecodable;
  }
  // A file without a resolution is taken at the screen's 96 dots per inch.
  if (FAILED(frame->GetResolution(&dpi_x, &dpi_y)) || dpi_x < 1 || dpi_y < 1) dpi_x = dpi_y = 96;
  picture->extension = ExtensionOf(container);
  picture->width = static_cast<float>(width * 72.0 / dpi_x);
  picture->height = static_cast<float>(height * 72.0 / dpi_y);
  return PictureResult::kOk;
}

}  // namespace standin

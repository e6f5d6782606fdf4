// A picture file decoded with the platform's imaging component: its bytes, kind and size.
#pragma once
#include <windows.h>

#include <string>

namespace standin {

struct PictureFile {
  std::string bytes;
  std::wstring extension;  // "png", "bmp", "gif", "jpeg"
  float width = 0;         // points, from the pixel size and the resolution
  float height = 0;
};

enum class PictureResult { kOk, kNotFound, kUndecodable };

PictureResult LoadPictureFile(const std::wstring& path, PictureFile* picture);

}  // namespace standin

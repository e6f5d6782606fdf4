// The parts of a ZIP container (a .docx package): found through the central directory,
// inflated with zlib, checked against their CRC.
#pragma once
#include <windows.h>

#include <map>
#include <string>

namespace standin {

class ZipArchive {
 public:
  // False for bytes that hold no readable central directory.
  bool Load(std::string bytes);
  // False when the part is missing, uses an unknown method, is too large or fails its CRC.
  bool Read(const std::string& name, std::string* data) const;

 private:
  struct Entry {
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t compressed = 0;
    uint32_t size = 0;
    uint32_t local_offset = 0;
  };
  std::string bytes_;
  std::map<std::string, Entry> entries_;
};

// Writes a ZIP container part by part, deflated with zlib.
class ZipWriter {
 public:
  bool Add(const std::string& name, const std::string& data);
  const std::string& bytes();

 private:
  std::string out_;
  std::string directory_;
  uint16_t count_ = 0;
};

}  // namespace standin

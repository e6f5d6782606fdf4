#include "zip_archive.h"

#include <zlib.h>

#include <cstring>

namespace standin {
namespace {

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kEndOfDirectory = 0x06054b50;
constexpr uint16_t kStored = 0, kDeflated = 8;
constexpr uint32_t kMaxPartSize = 256u << 20;  // no part of a document needs more

uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | uint32_t{U16(b, at + 2)} << 16; }

void Put16(std::string* out, uint16_t v) {
  out->push_back(static_cast<char>(v & 0xff));
  out->push_back(static_cast<char>(v >> 8));
}
void Put32(std::string* out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xffff));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

uint32_t Crc(const std::string& data) {
  return static_cast<uint32_t>(
      crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uInt>(data.size())));
}

}  // namespace

bool ZipArchive::Load(std::string bytes) {
  bytes_ = std::move(bytes);
  entries_.clear();
  const size_t n = bytes_.size();
  if (n < 22) return false;
  // The end record sits in the last 22 bytes plus a comment of up to 64 KiB.
  size_t end = std::string::npos;
  for (size_t at = n - 22;; --at) {
    if (U32(bytes_, at) == kEndOfDirectory) {
      end = at;
      break;
    }
    if (at == 0 || n - at > 22 + 0xffff) break;
  }
  if (end == std::string::npos) return false;
  const uint16_t count = U16(bytes_, end + 10);
  size_t at = U32(bytes_, end + 16);
  for (uint16_t i = 0; i < count; ++i) {
    if (at > n || n - at < 46 || U32(bytes_, at) != kCentralHeader) return false;
    Entry e;
    e.method = U16(bytes_, at + 10);
    e.crc = U32(bytes_, at + 16);
    e.compressed = U32(bytes_, at + 20);
    e.size = U32(bytes_, at + 24);
    const size_t name_length = U16(bytes_, at + 28);
    const size_t extra = U16(bytes_, at + 30) + size_t{U16(bytes_, at + 32)};
    e.local_offset = U32(bytes_, at + 42);
    if (n - at - 46 < name_length + extra) return false;
    entries_[bytes_.substr(at + 46, name_length)] = e;
    at += 46 + name_length + extra;
  }
  return true;
}

bool ZipArchive::Read(const std::string& name, std::string* data) const {
  auto found = entries_.find(name);
  if (found == entries_.end()) return false;
  const Entry& e = found->second;
  const size_t n = bytes_.size();
  size_t at = e.local_offset;
  if (at > n || n - at < 30 || U32(bytes_, at) != kLocalHeader) return false;
  at += 30 + size_t{U16(bytes_, at + 26)} + U16(bytes_, at + 28);
  if (at > n || n - at < e.compressed || e.size > kMaxPartSize) return false;
  if (e.method == kStored) {
    if (e.compressed != e.size) return false;
    data->assign(bytes_, at, e.size);
  } else if (e.method == kDeflated) {
    data->assign(e.size, '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes_.data() + at));
    z.avail_in = e.compressed;
    z.next_out = reinterpret_cast<Bytef*>(&(*data)[0]);
    z.avail_out = e.size;
    const int result = e.size ? inflate(&z, Z_FINISH) : Z_STREAM_END;
    const bool whole = result == Z_STREAM_END && z.total_out == e.size;
    inflateEnd(&z);
    if (!whole) return false;
  } else {
    return false;
  }
  return Crc(*data) == e.crc;
}

bool ZipWriter::Add(const std::string& name, const std::string& data) {
  uLongf bound = compressBound(static_cast<uLong>(data.size()));
  std::string packed(bound, '\0');
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(&packed[0]);
  z.avail_out = static_cast<uInt>(packed.size());
  const bool done = deflate(&z, Z_FINISH) == Z_STREAM_END;
  packed.resize(z.total_out);
  deflateEnd(&z);
  if (!done) return false;

  const uint32_t crc = Crc(data);
  const uint32_t offset = static_cast<uint32_t>(out_.size());
  // Local header: version 2.0, flag 0 (UTF-8 names would be flag 0x800; names here are ASCII),
  // a fixed time stamp of 1 January 1980.
  Put32(&out_, kLocalHeader);
  Put16(&out_, 20);
  Put16(&out_, 0);
  Put16(&out_, kDeflated);
  Put16(&out_, 0);
  Put16(&out_, 0x21);
  Put32(&out_, crc);
  Put32(&out_, static_cast<uint32_t>(packed.size()));
  Put32(&out_, static_cast<uint32_t>(data.size()));
  Put16(&out_, static_cast<uint16_t>(name.size()));
  Put16(&out_, 0);
  out_ += name;
  out_ += packed;

  Put32(&directory_, kCentralHeader);
  Put16(&directory_, 20);
  Put16(&directory_, 20);
  Put16(&directory_, 0);
  Put16(&directory_, kDeflated);
  Put16(&directory_, 0);
  Put16(&directory_, 0x21);
  Put32(&directory_, crc);
  Put32(&directory_, static_cast<uint32_t>(packed.size()));
  Put32(&directory_, static_cast<uint32_t>(data.size()));
  Put16(&directory_, static_cast<uint16_t>(name.size()));
  Put16(&directory_, 0);  // extra
  Put16(&directory_, 0);  // comment
  Put16(&directory_, 0);  // disk
  Put16(&directory_, 0);  // internal attributes
  Put32(&directory_, 0);  // external attributes
  Put32(&directory_, offset);
  directory_ += name;
  ++count_;
  return true;
}

const std::string& ZipWriter::bytes() {
  const uint32_t directory_offset = static_cast<uint32_t>(out_.size());
  const uint32_t directory_size = static_cast<uint32_t>(directory_.size());
  out_ += directory_;
  directory_.clear();
  Put32(&out_, kEndOfDirectory);
  Put16(&out_, 0);
  Put16(&out_, 0);
  Put16(&out_, count_);
  Put16(&out_, count_);
  Put32(&out_, directory_size);
  Put32(&out_, directory_offset);
  Put16(&out_, 0);
  return out_;
}

}  // namespace standin

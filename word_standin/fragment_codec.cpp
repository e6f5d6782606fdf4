#include "fragment_codec.h"

#include <cstdint>
#include <cstring>

namespace standin {
namespace {

constexpr uint32_t kMagic = 0x31465357;  // "WSF1"
constexpr int kMaxDepth = 4;              // text boxes hold no text boxes here; a margin

class Writer {
 public:
  void U32(uint32_t v) { Raw(&v, sizeof v); }
  void F32(float v) { Raw(&v, sizeof v); }
  void Text(const std::wstring& s) {
    U32(static_cast<uint32_t>(s.size()));
    Raw(s.data(), s.size() * sizeof(wchar_t));
  }
  void Bytes(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    Raw(s.data(), s.size());
  }
  std::string Take() { return std::move(out_); }

 private:
  void Raw(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  std::string out_;
};

class Reader {
 public:
  explicit Reader(const std::string& in) : in_(in) {}
  bool U32(uint32_t* v) { return Raw(v, sizeof *v); }
  bool F32(float* v) { return Raw(v, sizeof *v); }
  bool Text(std::wstring* s) {
    uint32_t n;
    if (!U32(&n) || n > (in_.size() - pos_) / sizeof(wchar_t)) return false;
    s->resize(n);
    return Raw(&(*s)[0], n * sizeof(wchar_t));
  }
  bool Bytes(std::string* s) {
    uint32_t n;
    if (!U32(&n) || n > in_.size() - pos_) return false;
    s->assign(in_, pos_, n);
    pos_ += n;
    return true;
  }

 private:
  bool Raw(void* p, size_t n) {
    if (n > in_.size() - pos_) return false;
    if (n) memcpy(p, in_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  const std::string& in_;
  size_t pos_ = 0;
};

void Encode(const Fragment& f, Writer* w) {
  w->Text(f.text);
  // Formats as runs of equal ones.
  std::vector<std::pair<uint32_t, const CharFormat*>> runs;
  for (const CharFormat& format : f.formats) {
    if (!runs.empty() && *runs.back().second == format) ++runs.back().first;
    else runs.emplace_back(1, &format);
  }
  w->U32(static_cast<uint32_t>(runs.size()));
  for (const auto& run : runs) {
    w->U32(run.first);
    w->U32((run.second->superscript ? 1 : 0) | (run.second->in_table ? 2 : 0));
    w->Text(run.second->font_name);
  }
  w->U32(static_cast<uint32_t>(f.shapes.size()));
  for (const ShapeModel& shape : f.shapes) {
    w->U32(static_cast<uint32_t>(shape.type));
    w->U32(shape.is_inline ? 1 : 0);
    w->U32(static_cast<uint32_t>(shape.offset));
    w->F32(shape.width);
    w->F32(shape.height);
    w->Bytes(shape.image);
    w->Text(shape.image_extension);
    w->U32(shape.text ? 1 : 0);
    if (shape.text) Encode(shape.text->Copy(0, shape.text->length()), w);
  }
}

bool Decode(Reader* r, Fragment* f, int depth) {
  if (depth > kMaxDepth || !r->Text(&f->text)) return false;
  uint32_t runs;
  if (!r->U32(&runs)) return false;
  for (uint32_t i = 0; i < runs; ++i) {
    uint32_t count, flags;
    CharFormat format;
    if (!r->U32(&count) || !r->U32(&flags) || !r->Text(&format.font_name)) return false;
    if (count > f->text.size() - f->formats.size()) return false;
    format.superscript = flags & 1;
    format.in_table = flags & 2;
    f->formats.insert(f->formats.end(), count, format);
  }
  if (f->formats.size() != f->text.size()) return false;
  uint32_t shapes;
  if (!r->U32(&shapes)) return false;
  for (uint32_t i = 0; i < shapes; ++i) {
    ShapeModel shape;
    uint32_t type, is_inline, offset, has_text;
    if (!r->U32(&type) || !r->U32(&is_inline) || !r->U32(&offset) || !r->F32(&shape.width) ||
        !r->F32(&shape.height) || !r->Bytes(&shape.image) || !r->Text(&shape.image_extension) ||
        !r->U32(&has_text)) {
      return false;
    }
    if (offset + (is_inline ? 1u : 0u) > f->text.size()) return false;
    shape.type = static_cast<LONG>(type);
    shape.is_inline = is_inline != 0;
    shape.offset = static_cast<LONG>(offset);
    if (has_text) {
      Fragment content;
      if (!Decode(r, &content, depth + 1) || content.text.empty() ||
          content.text.back() != kParagraphMark) {
        return false;
      }
      shape.text = StoryFrom(content);
    }
    f->shapes.push_back(std::move(shape));
  }
  return true;
}

}  // namespace

std::string EncodeFragment(const Fragment& fragment) {
  Writer w;
  w.U32(kMagic);
  Encode(fragment, &w);
  return w.Take();
}

bool DecodeFragment(const std::string& bytes, Fragment* fragment) {
  *fragment = Fragment();
  Reader r(bytes);
  uint32_t magic;
  return r.U32(&magic) && magic == kMagic && Decode(&r, fragment, 0);
}

std::shared_ptr<Story> StoryFrom(const Fragment& content) {
  auto story = std::make_shared<Story>();
  story->Replace(0, story->length(), content);
  return story;
}

}  // namespace standin

// A text story (a document's main text, a header or footer, a text box): characters, the
// character formatting of each, and the live spans (ranges, the selection) that edits move.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace standin {

// Word's story text uses \r for a paragraph mark and \f (12) for a page break.
constexpr wchar_t kParagraphMark = L'\r';
constexpr wchar_t kPageBreak = L'\f';

struct CharFormat {
  std::wstring font_name = L"ＭＳ 明朝";  // the Japanese default body font
  bool superscript = false;
  bool operator==(const CharFormat& o) const {
    return font_name == o.font_name && superscript == o.superscript;
  }
};

struct Span {
  LONG start = 0;
  LONG end = 0;
};

// Rich content moved by Copy and Paste: text with the format of each character.
struct Fragment {
  std::wstring text;
  std::vector<CharFormat> formats;
};

class Story {
 public:
  Story();

  const std::wstring& text() const { return text_; }
  LONG length() const { return static_cast<LONG>(text_.size()); }
  // The last position text can be inserted at: before the story's final paragraph mark.
  LONG last_insert_point() const { return length() - 1; }

  // A span that follows edits for as long as the caller holds it.
  std::shared_ptr<Span> Track(LONG start, LONG end);

  // Replaces [start, end) with `with`; new characters take the format of the character before
  // `start` (or the first one). Spans before stay, spans after shift, spans inside shrink.
  void Replace(LONG start, LONG end, const Fragment& with);
  void Replace(LONG start, LONG end, const std::wstring& with);
  Fragment Copy(LONG start, LONG end) const;

  const CharFormat& FormatAt(LONG pos) const { return formats_[pos]; }
  void SetFormat(LONG start, LONG end, const std::function<void(CharFormat*)>& change);

  // Keeps start <= end within the story.
  void Clamp(Span* span) const;

 private:
  std::wstring text_;
  std::vector<CharFormat> formats_;
  std::vector<std::weak_ptr<Span>> spans_;
};

}  // namespace standin

// A text story (a document's main text, a header or footer, a text box): characters, the
// character formatting of each, the shapes anchored in it, and the live spans (ranges, the
// selection) that edits move.
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
// A table cell ends with an end-of-cell mark and a row with an end-of-row mark: one position
// each, both read as "\r\a" through Range.Text, as Word shows them.
constexpr wchar_t kCellMark = L'\a';
constexpr wchar_t kRowMark = L'\uE007';
// An inline picture takes one position and reads as character 1, as in Word.
constexpr wchar_t kObjectMark = L'\x01';

inline bool IsTableMark(wchar_t c) { return c == kCellMark || c == kRowMark; }

struct CharFormat {
  std::wstring font_name = L"ＭＳ 明朝";  // the Japanese default body font
  bool superscript = false;
  bool in_table = false;  // a character of a table: cell text or an end-of-cell or row mark
  bool operator==(const CharFormat& o) const {
    return font_name == o.font_name && superscript == o.superscript && in_table == o.in_table;
  }
};

struct Span {
  LONG start = 0;
  LONG end = 0;
};

class Story;

// Office's MsoShapeType values of the shapes the stand-in reads and makes.
enum ShapeType : LONG {
  kShapeAutoShape = 1,
  kShapeGroup = 6,
  kShapePicture = 13,
  kShapeTextBox = 17,
};

// A floating shape or an inline picture anchored in a story.
struct ShapeModel {
  LONG type = kShapeAutoShape;
  bool is_inline = false;         // an inline picture: the object mark at its anchor
  std::shared_ptr<Story> text;    // the text story of a text box
  std::string image;              // a picture's file bytes, written out when saved
  std::wstring image_extension;   // "png", "bmp", "gif", "jpeg"
  float width = 0;                // points
  float height = 0;
  std::shared_ptr<Span> anchor;   // in a story: [pos, pos] or, inline, [pos, pos + 1]
  LONG offset = 0;                // in a fragment: the anchor's position in the fragment

  ShapeModel Clone() const;
};

// Rich content moved by Copy and Paste: text with the format of each character and the shapes
// anchored in it.
struct Fragment {
  std::wstring text;
  std::vector<CharFormat> formats;
  std::vector<ShapeModel> shapes;
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

  // Replaces [start, end) with `with`. Plain text takes the format of the first replaced
  // character (Word keeps the formatting of replaced text) or, for an insertion, of the
  // character before `start`; it belongs to a table when the position does. Spans before stay,
  // spans after shift, spans inside shrink. Shapes anchored in [start, end) go with the text.
  void Replace(LONG start, LONG end, const Fragment& with);
  void Replace(LONG start, LONG end, const std::wstring& with);
  Fragment Copy(LONG start, LONG end) const;
  std::shared_ptr<Story> Clone() const;

  const CharFormat& FormatAt(LONG pos) const { return formats_[pos]; }
  void SetFormat(LONG start, LONG end, const std::function<void(CharFormat*)>& change);

  // Shapes in the order of their anchors.
  const std::vector<std::shared_ptr<ShapeModel>>& shapes() const { return shapes_; }
  // Anchors a new shape at `pos`; an inline one is its object mark, which it inserts.
  std::shared_ptr<ShapeModel> AddShape(LONG pos, ShapeModel shape);

  // Keeps start <= end within the story.
  void Clamp(Span* span) const;

 private:
  void InsertShape(std::shared_ptr<ShapeModel> shape);

  std::wstring text_;
  std::vector<CharFormat> formats_;
  std::vector<std::weak_ptr<Span>> spans_;
  std::vector<std::shared_ptr<ShapeModel>> shapes_;
};

// The text of [start, end) as Word's Range.Text shows it: table marks read as "\r\a".
std::wstring VisibleText(const Story& story, LONG start, LONG end);

}  // namespace standin

#include "docx_writer.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "com_ptr.h"
#include "docx_names.h"
#include "hresult.h"
#include "table_layout.h"
#include "utf8.h"
#include "xml_lite.h"
#include "zip_archive.h"

namespace standin {
namespace {

struct Namespace {
  const wchar_t* prefix;
  const wchar_t* uri;
};
constexpr Namespace W{L"w", kW}, WP{L"wp", kWp}, WPS{L"wps", kWps}, A{L"a", kA}, PIC{L"pic", kPic},
    MC{L"mc", kMc}, V{L"v", kV}, R{L"r", kR};

std::wstring Number(double v) { return std::to_wstring(std::llround(v)); }
std::wstring Twips(float points) { return Number(points * kTwipsPerPoint); }
std::wstring Emu(float points) { return Number(points * kEmuPerPoint); }

// XmlLite's writer with the first failure kept, so a part is written as straight-line code and
// checked once at its end.
class Xml {
 public:
  HRESULT Begin() {
    hr_ = CreateXmlWriterInto(stream_.Receive(), writer_.Receive());
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteStartDocument(XmlStandalone_Yes);
    return hr_;
  }
  void Start(const Namespace& ns, const wchar_t* local) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteStartElement(ns.prefix, local, ns.uri);
  }
  // An element in the default namespace (the package's own parts).
  void StartPlain(const wchar_t* local, const wchar_t* uri) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteStartElement(nullptr, local, uri);
  }
  void Declare(const Namespace& ns) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteAttributeString(L"xmlns", ns.prefix, nullptr, ns.uri);
  }
  void Attr(const Namespace& ns, const wchar_t* local, const std::wstring& value) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteAttributeString(ns.prefix, local, ns.uri, value.c_str());
  }
  void Attr(const wchar_t* local, const std::wstring& value) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteAttributeString(nullptr, local, nullptr, value.c_str());
  }
  void PreserveSpace() {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteAttributeString(L"xml", L"space", nullptr, L"preserve");
  }
  void Text(const std::wstring& text) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteString(text.c_str());
  }
  void End() {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteEndElement();
  }
  // An empty element with attributes given as name, value pairs in namespace `ns`.
  void Empty(const Namespace& ns, const wchar_t* local,
             std::initializer_list<std::pair<const wchar_t*, std::wstring>> attrs = {}) {
    Start(ns, local);
    for (const auto& a : attrs) Attr(ns, a.first, a.second);
    End();
  }
  void EmptyPlain(const Namespace& ns, const wchar_t* local,
                  std::initializer_list<std::pair<const wchar_t*, std::wstring>> attrs) {
    Start(ns, local);
    for (const auto& a : attrs) Attr(a.first, a.second);
    End();
  }
  HRESULT Finish(std::string* bytes) {
    if (SUCCEEDED(hr_)) hr_ = writer_->WriteEndDocument();
    if (SUCCEEDED(hr_)) hr_ = writer_->Flush();
    if (SUCCEEDED(hr_)) *bytes = StreamBytes(stream_.Get());
    return hr_;
  }

 private:
  com::ComPtr<IStream> stream_;
  com::ComPtr<IXmlWriter> writer_;
  HRESULT hr_ = E_UNEXPECTED;
};

struct Relationship {
  std::wstring id;
  const wchar_t* type;
  std::wstring target;
};

using Relationships = std::vector<Relationship>;

// The parts beside the main part (in its folder), and what the content types must name.
struct Package {
  std::vector<std::pair<std::string, std::string>> parts;  // name, bytes
  std::set<std::wstring> image_extensions;
  std::vector<std::pair<std::wstring, const wchar_t*>> overrides;  // part name, content type
  int drawing_id = 0;
  int images = 0;

  // Adds a part and a relationship to it from the part that owns `rels`; the relationship id.
  std::wstring AddPart(Relationships* rels, const wchar_t* type, const std::wstring& target,
                       std::string bytes) {
    std::wstring id = L"rId" + std::to_wstring(rels->size() + 1);
    rels->push_back({id, type, target});
    parts.emplace_back("word/" + Utf8(target), std::move(bytes));
    return id;
  }
};

class StoryWriter {
 public:
  StoryWriter(Xml* xml, Package* package, Relationships* rels)
      : xml_(*xml), package_(*package), rels_(*rels) {}

  // The whole of `story`: its paragraphs and tables; shapes where `with_shapes`.
  void Story(const standin::Story& story, bool with_shapes) {
    const LONG n = story.length();
    LONG at = 0;
    while (at < n) {
      TableLayout table;
      if (LayoutTableAt(story, at, &table)) {
        Table(story, table, with_shapes);
        at = table.end;
        continue;
      }
      LONG next = at;
      while (next < n && !story.FormatAt(next).in_table) ++next;
      Paragraphs(story, at, next, false, with_shapes);
      at = next;
    }
  }

 private:
  void Table(const standin::Story& story, const TableLayout& table, bool with_shapes) {
    size_t columns = 1;
    for (const auto& row : table.rows) columns = std::max(columns, row.size());
    xml_.Start(W, L"tbl");
    xml_.Start(W, L"tblPr");
    xml_.Empty(W, L"tblW", {{L"w", L"0"}, {L"type", L"auto"}});
    xml_.Start(W, L"tblBorders");
    for (const wchar_t* side : {L"top", L"left", L"bottom", L"right", L"insideH", L"insideV"})
      xml_.Empty(W, side, {{L"val", L"single"}, {L"sz", L"4"}, {L"space", L"0"}, {L"color", L"000000"}});
    xml_.End();
    xml_.End();
    // Columns share a text width of 15 cm; readers lay tables out from this grid.
    const std::wstring width = std::to_wstring(8504 / columns);
    xml_.Start(W, L"tblGrid");
    for (size_t i = 0; i < columns; ++i) xml_.Empty(W, L"gridCol", {{L"w", width}});
    xml_.End();
    for (const auto& row : table.rows) {
      xml_.Start(W, L"tr");
      for (const Span& cell : row) {
        xml_.Start(W, L"tc");
        xml_.Start(W, L"tcPr");
        xml_.Empty(W, L"tcW", {{L"w", width}, {L"type", L"dxa"}});
        xml_.End();
        // The cell's last paragraph ends at its end-of-cell mark.
        Paragraphs(story, cell.start, cell.end - 1, true, with_shapes);
        xml_.End();
      }
      xml_.End();
    }
    xml_.End();
  }

  // The paragraphs of [start, end): each ends at a paragraph mark; text after the last mark is
  // one more paragraph when there is any or when `last_open` (a cell's last paragraph).
  void Paragraphs(const standin::Story& story, LONG start, LONG end, bool last_open,
                  bool with_shapes) {
    const std::wstring& text = story.text();
    LONG p = start;
    for (LONG i = start; i < end; ++i) {
      if (text[i] == kParagraphMark) {
        Paragraph(story, p, i, with_shapes);
        p = i + 1;
      }
    }
    if (p < end || last_open) Paragraph(story, p, end, with_shapes);
  }

  // One paragraph over [start, end) (its mark excluded), in runs of one format each; shapes
  // anchored at its mark come last.
  void Paragraph(const standin::Story& story, LONG start, LONG end, bool with_shapes) {
    const std::wstring& text = story.text();
    xml_.Start(W, L"p");
    LONG run = start;
    auto flush = [&](LONG at) {
      if (at > run) Run(story.FormatAt(run), text.substr(run, at - run));
      run = at;
    };
    for (LONG i = start; i < end; ++i) {
      const bool special = IsSpecial(text[i]);
      const bool shape_here = with_shapes && HasFloatingShape(story, i);
      if (special || shape_here || !(story.FormatAt(i) == story.FormatAt(run))) flush(i);
      if (shape_here) FloatingShapes(story, i);
      if (special) {
        Special(story, i);
        run = i + 1;
      }
    }
    flush(end);
    if (with_shapes && end < story.length()) FloatingShapes(story, end);
    xml_.End();
  }

  static bool IsSpecial(wchar_t c) { return c != 0 && c < 0x20; }

  void RunProperties(const CharFormat& format) {
    xml_.Start(W, L"rPr");
    xml_.Empty(W, L"rFonts", {{L"ascii", format.font_name},
                              {L"hAnsi", format.font_name},
                              {L"eastAsia", format.font_name}});
    if (format.superscript) xml_.Empty(W, L"vertAlign", {{L"val", L"superscript"}});
    xml_.End();
  }

  void Run(const CharFormat& format, const std::wstring& text) {
    xml_.Start(W, L"r");
    RunProperties(format);
    xml_.Start(W, L"t");
    xml_.PreserveSpace();
    xml_.Text(text);
    xml_.End();
    xml_.End();
  }

  // Tabs, breaks and inline pictures; other control characters have no form in the file.
  void Special(const standin::Story& story, LONG pos) {
    const wchar_t c = story.text()[pos];
    if (c == kObjectMark) {
      for (const auto& shape : story.shapes())
        if (shape->is_inline && shape->anchor && shape->anchor->start == pos && !shape->image.empty()) {
          xml_.Start(W, L"r");
          RunProperties(story.FormatAt(pos));
          Drawing(*shape, true);
          xml_.End();
        }
      return;
    }
    if (c != L'\t' && c != L'\v' && c != kPageBreak) return;
    xml_.Start(W, L"r");
    RunProperties(story.FormatAt(pos));
    if (c == L'\t') xml_.Empty(W, L"tab");
    if (c == L'\v') xml_.Empty(W, L"br");
    if (c == kPageBreak) xml_.Empty(W, L"br", {{L"type", L"page"}});
    xml_.End();
  }

  static bool IsFloating(const ShapeModel& shape) { return !shape.is_inline && shape.anchor; }
  static bool IsPicture(const ShapeModel& shape) { return !shape.image.empty(); }
  static bool IsTextBox(const ShapeModel& shape) {
    return shape.type == kShapeTextBox && shape.text;
  }
  static bool HasFloatingShape(const standin::Story& story, LONG pos) {
    for (const auto& shape : story.shapes())
      if (IsFloating(*shape) && shape->anchor->start == pos) return true;
    return false;
  }

  // Text boxes and other shapes as drawing shapes with a drawing of the older kind as the
  // fallback, so readers of either find the text; floating pictures as anchored drawings. A
  // group is written as one plain shape: its parts are not kept in the model.
  void FloatingShapes(const standin::Story& story, LONG pos) {
    for (const auto& shape : story.shapes()) {
      if (!IsFloating(*shape) || shape->anchor->start != pos) continue;
      xml_.Start(W, L"r");
      if (IsPicture(*shape)) {
        Drawing(*shape, false);
        xml_.End();
        continue;
      }
      xml_.Start(MC, L"AlternateContent");
      xml_.Start(MC, L"Choice");
      xml_.Attr(L"Requires", L"wps");
      Drawing(*shape, false);
      xml_.End();
      xml_.Start(MC, L"Fallback");
      xml_.Start(W, L"pict");
      xml_.Start(V, L"shape");
      xml_.Attr(L"style", L"position:absolute;margin-left:0;margin-top:0;width:" +
                              Number(shape->width) + L"pt;height:" + Number(shape->height) +
                              L"pt;z-index:1");
      if (IsTextBox(*shape)) {
        xml_.Start(V, L"textbox");
        TextBoxContent(*shape);
        xml_.End();
      }
      xml_.End();
      xml_.End();
      xml_.End();
      xml_.End();
      xml_.End();
    }
  }

  void TextBoxContent(const ShapeModel& shape) {
    xml_.Start(W, L"txbxContent");
    StoryWriter(&xml_, &package_, &rels_).Story(*shape.text, false);
    xml_.End();
  }

  // A floating shape sits at its anchor: no offset from `relative_from` on that axis.
  void ZeroOffset(const wchar_t* axis, const wchar_t* relative_from) {
    xml_.Start(WP, axis);
    xml_.Attr(L"relativeFrom", relative_from);
    xml_.Start(WP, L"posOffset");
    xml_.Text(L"0");
    xml_.End();
    xml_.End();
  }

  void Drawing(const ShapeModel& shape, bool inline_shape) {
    const int id = ++package_.drawing_id;
    const std::wstring cx = Emu(shape.width), cy = Emu(shape.height);
    xml_.Start(W, L"drawing");
    if (inline_shape) {
      xml_.Start(WP, L"inline");
      for (const wchar_t* side : {L"distT", L"distB", L"distL", L"distR"}) xml_.Attr(side, L"0");
    } else {
      xml_.Start(WP, L"anchor");
      for (const auto& a : std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>{
               {L"distT", L"0"}, {L"distB", L"0"}, {L"distL", L"114300"}, {L"distR", L"114300"},
               {L"simplePos", L"0"}, {L"relativeHeight", L"1"}, {L"behindDoc", L"0"},
               {L"locked", L"0"}, {L"layoutInCell", L"1"}, {L"allowOverlap", L"1"}})
        xml_.Attr(a.first, a.second);
      xml_.EmptyPlain(WP, L"simplePos", {{L"x", L"0"}, {L"y", L"0"}});
      ZeroOffset(L"positionH", L"column");
      ZeroOffset(L"positionV", L"paragraph");
    }
    xml_.EmptyPlain(WP, L"extent", {{L"cx", cx}, {L"cy", cy}});
    if (!inline_shape) {
      xml_.Start(WP, L"wrapSquare");
      xml_.Attr(L"wrapText", L"bothSides");
      xml_.End();
    }
    const bool picture = IsPicture(shape), text_box = IsTextBox(shape);
    xml_.EmptyPlain(WP, L"docPr",
                    {{L"id", std::to_wstring(id)},
                     {L"name", (picture ? L"Picture " : text_box ? L"Text Box " : L"Shape ") +
                                   std::to_wstring(id)}});
    xml_.Start(A, L"graphic");
    xml_.Start(A, L"graphicData");
    if (!picture) {
      xml_.Attr(L"uri", kWps);
      xml_.Start(WPS, L"wsp");
      if (text_box) {
        xml_.EmptyPlain(WPS, L"cNvSpPr", {{L"txBox", L"1"}});
      } else {
        xml_.Empty(WPS, L"cNvSpPr");
      }
      ShapeProperties(WPS, cx, cy, true);
      if (text_box) {
        xml_.Start(WPS, L"txbx");
        TextBoxContent(shape);
        xml_.End();
      }
      xml_.EmptyPlain(WPS, L"bodyPr", {{L"wrap", L"square"}, {L"anchor", L"t"}});
      xml_.End();
    } else {
      xml_.Attr(L"uri", kPic);
      const std::wstring rel = Media(shape);
      xml_.Start(PIC, L"pic");
      xml_.Start(PIC, L"nvPicPr");
      xml_.EmptyPlain(PIC, L"cNvPr", {{L"id", std::to_wstring(id)},
                                      {L"name", L"Picture " + std::to_wstring(id)}});
      xml_.Empty(PIC, L"cNvPicPr");
      xml_.End();
      xml_.Start(PIC, L"blipFill");
      xml_.Start(A, L"blip");
      xml_.Attr(R, L"embed", rel);
      xml_.End();
      xml_.Start(A, L"stretch");
      xml_.Empty(A, L"fillRect");
      xml_.End();
      xml_.End();
      ShapeProperties(PIC, cx, cy, false);
      xml_.End();
    }
    xml_.End();
    xml_.End();
    xml_.End();
    xml_.End();
  }

  void ShapeProperties(const Namespace& ns, const std::wstring& cx, const std::wstring& cy,
                       bool outline) {
    xml_.Start(ns, L"spPr");
    xml_.Start(A, L"xfrm");
    xml_.EmptyPlain(A, L"off", {{L"x", L"0"}, {L"y", L"0"}});
    xml_.EmptyPlain(A, L"ext", {{L"cx", cx}, {L"cy", cy}});
    xml_.End();
    xml_.EmptyPlain(A, L"prstGeom", {{L"prst", L"rect"}});
    if (outline) {
      xml_.Start(A, L"ln");
      xml_.Attr(L"w", L"6350");
      xml_.Start(A, L"solidFill");
      xml_.EmptyPlain(A, L"srgbClr", {{L"val", L"000000"}});
      xml_.End();
      xml_.End();
    }
    xml_.End();
  }

  // The picture's bytes as a media part; its relationship id.
  std::wstring Media(const ShapeModel& shape) {
    std::wstring ext = shape.image_extension.empty() ? L"png" : shape.image_extension;
    package_.image_extensions.insert(ext);
    const std::wstring target = L"media/image" + std::to_wstring(++package_.images) + L"." + ext;
    return package_.AddPart(&rels_, kRelImage, target, shape.image);
  }

  Xml& xml_;
  Package& package_;
  Relationships& rels_;
};

void DeclareAll(Xml* xml) {
  for (const Namespace& ns : {R, WP, WPS, A, PIC, MC, V}) xml->Declare(ns);
}

// A header or footer part: page numbers first, in frames aligned as asked, then its text.
HRESULT HeaderFooterPart(const HeaderFooterModel& model, bool footer, Package* package,
                         Relationships* rels, std::string* bytes) {
  Xml xml;
  RETURN_IF_FAILED(xml.Begin());
  xml.Start(W, footer ? L"ftr" : L"hdr");
  DeclareAll(&xml);
  const LONG alignment = std::min<LONG>(std::max<LONG>(model.page_numbers.alignment, 0), 4);
  for (LONG i = 0; i < model.page_numbers.count; ++i) {
    xml.Start(W, L"p");
    xml.Start(W, L"pPr");
    xml.Empty(W, L"framePr", {{L"wrap", L"around"},
                              {L"vAnchor", L"text"},
                              {L"hAnchor", L"margin"},
                              {L"xAlign", kPageNumberAlignments[alignment]},
                              {L"y", L"1"}});
    xml.End();
    xml.Start(W, L"fldSimple");
    xml.Attr(W, L"instr", L" PAGE ");
    xml.Start(W, L"r");
    xml.Start(W, L"t");
    xml.Text(L"1");
    xml.End();
    xml.End();
    xml.End();
    xml.End();
  }
  StoryWriter(&xml, package, rels).Story(*model.story, true);
  xml.End();
  return xml.Finish(bytes);
}

bool HasContent(const HeaderFooterModel& model) {
  return model.page_numbers.count > 0 || model.story->length() > 1;
}

HRESULT RelationshipsPart(const Relationships& relationships, std::string* bytes);

HRESULT MainPart(const DocumentModel& doc, Package* package, Relationships* rels,
                 std::string* bytes) {
  // Headers and footers first: their relationships are named in the section properties.
  std::vector<std::pair<std::wstring, std::wstring>> references[2];  // type, id
  bool different_first_page = false;
  for (int footer = 0; footer < 2; ++footer) {
    for (int i = 0; i < 3; ++i) {
      const HeaderFooterModel& model = footer ? doc.footers[i] : doc.headers[i];
      if (!HasContent(model)) continue;
      // A page number left off the first page is Word's different first page.
      if (model.page_numbers.count > 0 && !model.page_numbers.first_page)
        different_first_page = true;
      std::string part, part_rels;
      Relationships own;
      RETURN_IF_FAILED(HeaderFooterPart(model, footer != 0, package, &own, &part));
      const int number = static_cast<int>(package->overrides.size()) + 1;
      const std::wstring name = (footer ? L"footer" : L"header") + std::to_wstring(number) + L".xml";
      if (!own.empty()) {
        RETURN_IF_FAILED(RelationshipsPart(own, &part_rels));
        package->parts.emplace_back("word/_rels/" + Utf8(name) + ".rels", std::move(part_rels));
      }
      package->overrides.emplace_back(
          L"/word/" + name,
          footer ? L"application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"
                 : L"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml");
      references[footer].emplace_back(kHeaderFooterTypes[i],
                                      package->AddPart(rels, footer ? kRelFooter : kRelHeader,
                                                       name, std::move(part)));
    }
  }

  Xml xml;
  RETURN_IF_FAILED(xml.Begin());
  xml.Start(W, L"document");
  DeclareAll(&xml);
  xml.Start(W, L"body");
  StoryWriter(&xml, package, rels).Story(*doc.main, true);
  xml.Start(W, L"sectPr");
  for (int footer = 0; footer < 2; ++footer) {
    for (const auto& ref : references[footer]) {
      xml.Start(W, footer ? L"footerReference" : L"headerReference");
      xml.Attr(W, L"type", ref.first);
      xml.Attr(R, L"id", ref.second);
      xml.End();
    }
  }
  const PageSetupModel& p = doc.page_setup;
  xml.Empty(W, L"pgSz", {{L"w", Twips(p.page_width)}, {L"h", Twips(p.page_height)}});
  xml.Empty(W, L"pgMar", {{L"top", Twips(p.top_margin)},
                          {L"right", Twips(p.right_margin)},
                          {L"bottom", Twips(p.bottom_margin)},
                          {L"left", Twips(p.left_margin)},
                          {L"header", Twips(p.header_distance)},
                          {L"footer", Twips(p.footer_distance)},
                          {L"gutter", L"0"}});
  if (different_first_page) xml.Empty(W, L"titlePg");
  xml.End();
  xml.End();
  xml.End();
  return xml.Finish(bytes);
}

HRESULT RelationshipsPart(const Relationships& relationships, std::string* bytes) {
  Xml xml;
  RETURN_IF_FAILED(xml.Begin());
  xml.StartPlain(L"Relationships", kRels);
  for (const Relationship& rel : relationships) {
    xml.StartPlain(L"Relationship", kRels);
    xml.Attr(L"Id", rel.id);
    xml.Attr(L"Type", rel.type);
    xml.Attr(L"Target", rel.target);
    xml.End();
  }
  xml.End();
  return xml.Finish(bytes);
}

const wchar_t* ImageType(const std::wstring& ext) {
  if (ext == L"jpeg" || ext == L"jpg") return L"image/jpeg";
  if (ext == L"gif") return L"image/gif";
  if (ext == L"bmp") return L"image/bmp";
  if (ext == L"tiff" || ext == L"tif") return L"image/tiff";
  return L"image/png";
}

HRESULT ContentTypesPart(const Package& package, std::string* bytes) {
  Xml xml;
  RETURN_IF_FAILED(xml.Begin());
  xml.StartPlain(L"Types", kContentTypes);
  auto add_default = [&](const std::wstring& ext, const wchar_t* type) {
    xml.StartPlain(L"Default", kContentTypes);
    xml.Attr(L"Extension", ext);
    xml.Attr(L"ContentType", type);
    xml.End();
  };
  add_default(L"rels", L"application/vnd.openxmlformats-package.relationships+xml");
  add_default(L"xml", L"application/xml");
  for (const std::wstring& ext : package.image_extensions) add_default(ext, ImageType(ext));
  auto add_override = [&](const std::wstring& part, const wchar_t* type) {
    xml.StartPlain(L"Override", kContentTypes);
    xml.Attr(L"PartName", part);
    xml.Attr(L"ContentType", type);
    xml.End();
  };
  add_override(L"/word/document.xml",
               L"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
  for (const auto& o : package.overrides) add_override(o.first, o.second);
  xml.End();
  return xml.Finish(bytes);
}

HRESULT WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  const std::wstring temp = path + L".saving";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok || written != bytes.size()) {
    DeleteFileW(temp.c_str());
    return ok ? E_FAIL : HRESULT_FROM_WIN32(error);
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
    DeleteFileW(temp.c_str());
    return hr;
  }
  return S_OK;
}

}  // namespace

HRESULT WriteDocxFile(const std::wstring& path, const DocumentModel& doc) {
  Package package;
  Relationships rels;
  std::string document, document_rels, content_types, package_rels;
  RETURN_IF_FAILED(MainPart(doc, &package, &rels, &document));
  RETURN_IF_FAILED(RelationshipsPart(rels, &document_rels));
  RETURN_IF_FAILED(ContentTypesPart(package, &content_types));
  RETURN_IF_FAILED(
      RelationshipsPart({{L"rId1", kRelOfficeDocument, L"word/document.xml"}}, &package_rels));

  ZipWriter zip;
  bool ok = zip.Add("[Content_Types].xml", content_types) && zip.Add("_rels/.rels", package_rels) &&
            zip.Add("word/document.xml", document) &&
            zip.Add("word/_rels/document.xml.rels", document_rels);
  for (const auto& part : package.parts) ok = ok && zip.Add(part.first, part.second);
  if (!ok) return E_OUTOFMEMORY;
  return WriteFileReplacing(path, zip.bytes());
}

}  // namespace standin

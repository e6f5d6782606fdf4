#include "docx_reader.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "com_ptr.h"
#include "docx_names.h"
#include "fragment_codec.h"
#include "utf8.h"
#include "xml_lite.h"
#include "zip_archive.h"

namespace standin {
namespace {

constexpr DWORD kMaxFileSize = 512u << 20;

std::wstring Attribute(IXmlReader* r, const wchar_t* name, const wchar_t* ns) {
  std::wstring value;
  const wchar_t* text = nullptr;
  if (r->MoveToAttributeByName(name, ns) == S_OK && SUCCEEDED(r->GetValue(&text, nullptr)) && text)
    value = text;
  r->MoveToElement();
  return value;
}

float Number(const std::wstring& s, float fallback) {
  if (s.empty()) return fallback;
  wchar_t* end = nullptr;
  const double v = wcstod(s.c_str(), &end);
  return end && *end == 0 ? static_cast<float>(v) : fallback;
}

// Relationship id to part name, for the main part's relationships.
std::map<std::wstring, std::wstring> ReadRelationships(const ZipArchive& zip,
                                                       const std::string& part) {
  std::map<std::wstring, std::wstring> rels;
  std::string xml;
  com::ComPtr<IXmlReader> r;
  if (!zip.Read(part, &xml) || FAILED(CreateXmlReaderOver(xml, r.Receive()))) return rels;
  XmlNodeType type;
  while (r->Read(&type) == S_OK) {
    const wchar_t *local = nullptr, *ns = nullptr;
    if (type != XmlNodeType_Element || FAILED(r->GetLocalName(&local, nullptr)) ||
        FAILED(r->GetNamespaceUri(&ns, nullptr)) || wcscmp(ns, kRels) != 0 ||
        wcscmp(local, L"Relationship") != 0) {
      continue;
    }
    rels[Attribute(r.Get(), L"Id", nullptr)] = Attribute(r.Get(), L"Target", nullptr);
  }
  return rels;
}

// The part a relationship target names, relative to the main part's folder.
std::string PartName(const std::string& folder, const std::wstring& target) {
  std::string t = Utf8(target);
  if (!t.empty() && t[0] == '/') return t.substr(1);
  return folder + t;
}

class BodyReader {
 public:
  BodyReader(const ZipArchive& zip, std::string folder, std::map<std::wstring, std::wstring> rels)
      : zip_(zip), folder_(std::move(folder)), rels_(std::move(rels)) {
    targets_.emplace_back();
  }

  // Reads a main part (w:body) or a header or footer part into `story`.
  bool Run(IXmlReader* r, Story* story) {
    XmlNodeType type;
    HRESULT hr;
    while ((hr = r->Read(&type)) == S_OK) {
      if (type == XmlNodeType_Element) {
        const bool empty = r->IsEmptyElement();
        if (!Start(r)) return false;
        if (empty) End(r);
      } else if (type == XmlNodeType_EndElement) {
        End(r);
      } else if ((type == XmlNodeType_Text || type == XmlNodeType_Whitespace) && in_text_ &&
                 skip_ == 0) {
        const wchar_t* text = nullptr;
        UINT length = 0;
        if (SUCCEEDED(r->GetValue(&text, &length))) Append(std::wstring(text, length));
      } else if (type == XmlNodeType_Text && in_instruction_ && !paragraphs_.empty()) {
        const wchar_t* text = nullptr;
        UINT length = 0;
        if (SUCCEEDED(r->GetValue(&text, &length)))
          paragraphs_.back().instruction.append(text, length);
      }
    }
    if (FAILED(hr) || !saw_root_) return false;
    Fragment& body = targets_.front().content;
    if (body.text.empty() || body.text.back() != kParagraphMark) Append(L"\r");
    story->Replace(0, story->length(), body);
    return true;
  }

  struct Reference {
    bool footer;
    std::wstring type;  // "default", "first", "even"
    std::wstring id;
  };
  const PageSetupModel& page_setup() const { return page_setup_; }
  // The header and footer references and the different first page of the last section.
  const std::vector<Reference>& references() const { return references_; }
  bool title_page() const { return title_page_; }
  // The page numbers of a header or footer: framed paragraphs holding a PAGE field.
  const PageNumbersModel& page_numbers() const { return page_numbers_; }

 private:
  struct Target {
    Fragment content;
    int table_depth = 0;
  };
  struct OpenParagraph {
    size_t start = 0;  // where its text begins in its target
    bool framed = false;
    LONG alignment = 1;
    std::wstring instruction;  // its field instructions
  };
  struct OpenShape {
    ShapeModel shape;
    int depth = 0;  // the element depth of the element that began it
  };

  Target& Here() { return targets_.back(); }

  void Append(const std::wstring& text) {
    Target& t = Here();
    CharFormat format = run_;
    format.in_table = t.table_depth > 0;
    t.content.text += text;
    t.content.formats.insert(t.content.formats.end(), text.size(), format);
  }

  static bool Is(const wchar_t* ns, const wchar_t* local, const wchar_t* want_ns,
                 const wchar_t* want_local) {
    return wcscmp(ns, want_ns) == 0 && wcscmp(local, want_local) == 0;
  }

  bool Start(IXmlReader* r) {
    const wchar_t *local = nullptr, *ns = nullptr;
    if (FAILED(r->GetLocalName(&local, nullptr)) || FAILED(r->GetNamespaceUri(&ns, nullptr)))
      return false;
    ++depth_;
    if (depth_ > 256) return false;  // deeper than any document needs
    if (skip_) {
      ++skip_;
      return true;
    }
    // The fallback of alternate content repeats the choice for older readers.
    if (Is(ns, local, kMc, L"Fallback") || Is(ns, local, kW, L"instrText") ||
        Is(ns, local, kW, L"delText") || Is(ns, local, kW, L"rPrChange")) {
      skip_ = 1;
      in_instruction_ = Is(ns, local, kW, L"instrText");
      return true;
    }
    if (Is(ns, local, kW, L"body") || Is(ns, local, kW, L"hdr") || Is(ns, local, kW, L"ftr"))
      saw_root_ = true;
    if (Is(ns, local, kW, L"p")) {
      paragraphs_.emplace_back();
      paragraphs_.back().start = Here().content.text.size();
    }
    if (Is(ns, local, kW, L"framePr") && !paragraphs_.empty()) {
      paragraphs_.back().framed = true;
      const std::wstring align = Attribute(r, L"xAlign", kW);
      for (LONG i = 0; i < 5; ++i)
        if (align == kPageNumberAlignments[i]) paragraphs_.back().alignment = i;
    }
    if (Is(ns, local, kW, L"fldSimple") && !paragraphs_.empty())
      paragraphs_.back().instruction += L" " + Attribute(r, L"instr", kW);
    if (Is(ns, local, kW, L"sectPr")) {
      references_.clear();
      title_page_ = false;
    }
    if (Is(ns, local, kW, L"headerReference") || Is(ns, local, kW, L"footerReference"))
      references_.push_back({Is(ns, local, kW, L"footerReference"), Attribute(r, L"type", kW),
                             Attribute(r, L"id", kR)});
    if (Is(ns, local, kW, L"titlePg")) {
      const std::wstring val = Attribute(r, L"val", kW);
      title_page_ = val != L"0" && val != L"false";
    }
    if (Is(ns, local, kW, L"r")) run_ = CharFormat();
    if (Is(ns, local, kW, L"t")) in_text_ = true;
    if (Is(ns, local, kW, L"rFonts")) {
      std::wstring name = Attribute(r, L"eastAsia", kW);
      if (name.empty()) name = Attribute(r, L"ascii", kW);
      if (!name.empty()) run_.font_name = name;
    }
    if (Is(ns, local, kW, L"vertAlign")) run_.superscript = Attribute(r, L"val", kW) == L"superscript";
    if (Is(ns, local, kW, L"tab") && !in_properties()) Append(L"\t");
    if (Is(ns, local, kW, L"br")) Append(Attribute(r, L"type", kW) == L"page" ? L"\f" : L"\v");
    if (Is(ns, local, kW, L"cr")) Append(L"\v");
    if (Is(ns, local, kW, L"tbl")) ++Here().table_depth;
    if (Is(ns, local, kW, L"pPr") || Is(ns, local, kW, L"tblPr") || Is(ns, local, kW, L"sectPr"))
      ++properties_;
    if (Is(ns, local, kW, L"pgSz")) {
      page_setup_.page_width = Number(Attribute(r, L"w", kW), page_setup_.page_width * 20) / kTwipsPerPoint;
      page_setup_.page_height = Number(Attribute(r, L"h", kW), page_setup_.page_height * 20) / kTwipsPerPoint;
    }
    if (Is(ns, local, kW, L"pgMar")) ReadMargins(r);

    if (Is(ns, local, kWp, L"anchor") || Is(ns, local, kWp, L"inline") ||
        (Is(ns, local, kW, L"pict") && shapes_.empty())) {
      OpenShape open;
      open.depth = depth_;
      open.shape.is_inline = Is(ns, local, kWp, L"inline");
      open.shape.type = open.shape.is_inline ? kShapePicture : kShapeAutoShape;
      open.shape.offset = static_cast<LONG>(Here().content.text.size());
      shapes_.push_back(std::move(open));
    } else if (!shapes_.empty()) {
      ShapeModel& shape = shapes_.back().shape;
      if (Is(ns, local, kWp, L"extent")) {
        shape.width = Number(Attribute(r, L"cx", nullptr), 0) / kEmuPerPoint;
        shape.height = Number(Attribute(r, L"cy", nullptr), 0) / kEmuPerPoint;
      }
      if (shape.type != kShapeGroup) {
        if (Is(ns, local, kWpg, L"wgp")) shape.type = kShapeGroup;
        if (Is(ns, local, kPic, L"pic")) shape.type = kShapePicture;
        if (Is(ns, local, kA, L"blip")) ReadPicture(Attribute(r, L"embed", kR), &shape);
        if (Is(ns, local, kW, L"txbxContent") && !text_box_open_) {
          shape.type = kShapeTextBox;
          text_box_open_ = true;
          text_box_depth_ = depth_;
          saved_run_ = run_;
          targets_.emplace_back();
        }
      }
    }
    return true;
  }

  void End(IXmlReader* r) {
    const wchar_t *local = nullptr, *ns = nullptr;
    r->GetLocalName(&local, nullptr);
    r->GetNamespaceUri(&ns, nullptr);
    const int depth = depth_--;
    if (skip_) {
      if (--skip_ == 0) in_instruction_ = false;
      return;
    }
    if (Is(ns, local, kW, L"t")) in_text_ = false;
    if (Is(ns, local, kW, L"pPr") || Is(ns, local, kW, L"tblPr") || Is(ns, local, kW, L"sectPr"))
      --properties_;
    if (Is(ns, local, kW, L"p")) EndParagraph();
    if (Is(ns, local, kW, L"tc")) {
      // The last paragraph mark of a cell is its end-of-cell mark.
      Target& t = Here();
      if (!t.content.text.empty() && t.content.text.back() == kParagraphMark) {
        t.content.text.pop_back();
        t.content.formats.pop_back();
      }
      Append(std::wstring(1, kCellMark));
    }
    if (Is(ns, local, kW, L"tr")) Append(std::wstring(1, kRowMark));
    if (Is(ns, local, kW, L"tbl") && Here().table_depth > 0) --Here().table_depth;
    if (text_box_open_ && depth == text_box_depth_) {
      Fragment content = std::move(Here().content);
      targets_.pop_back();
      if (content.text.empty() || content.text.back() != kParagraphMark) {
        content.text += kParagraphMark;
        content.formats.emplace_back();
      }
      shapes_.back().shape.text = StoryFrom(content);
      text_box_open_ = false;
      run_ = saved_run_;
    }
    if (!shapes_.empty() && depth == shapes_.back().depth) {
      ShapeModel shape = std::move(shapes_.back().shape);
      shapes_.pop_back();
      if (shape.is_inline) {
        // Only pictures are read as inline shapes; other inline content has no text here.
        if (shape.image.empty()) return;
        shape.offset = static_cast<LONG>(Here().content.text.size());
        Append(std::wstring(1, kObjectMark));
      }
      Here().content.shapes.push_back(std::move(shape));
    }
  }

  // A framed paragraph with a PAGE field is a page number, not text of the story.
  void EndParagraph() {
    if (paragraphs_.empty()) return Append(L"\r");
    OpenParagraph p = std::move(paragraphs_.back());
    paragraphs_.pop_back();
    const size_t first = p.instruction.find_first_not_of(L" ");
    const bool page_field = first != std::wstring::npos &&
                            p.instruction.compare(first, 4, L"PAGE") == 0 &&
                            (p.instruction.size() == first + 4 || p.instruction[first + 4] == L' ');
    Fragment& content = Here().content;
    if (!p.framed || !page_field || p.start > content.text.size()) return Append(L"\r");
    content.text.resize(p.start);
    content.formats.resize(p.start);
    ++page_numbers_.count;
    page_numbers_.alignment = p.alignment;
  }

  void ReadMargins(IXmlReader* r) {
    PageSetupModel& p = page_setup_;
    p.top_margin = Number(Attribute(r, L"top", kW), p.top_margin * 20) / kTwipsPerPoint;
    p.bottom_margin = Number(Attribute(r, L"bottom", kW), p.bottom_margin * 20) / kTwipsPerPoint;
    p.left_margin = Number(Attribute(r, L"left", kW), p.left_margin * 20) / kTwipsPerPoint;
    p.right_margin = Number(Attribute(r, L"right", kW), p.right_margin * 20) / kTwipsPerPoint;
    p.header_distance = Number(Attribute(r, L"header", kW), p.header_distance * 20) / kTwipsPerPoint;
    p.footer_distance = Number(Attribute(r, L"footer", kW), p.footer_distance * 20) / kTwipsPerPoint;
  }

  void ReadPicture(const std::wstring& id, ShapeModel* shape) {
    auto rel = rels_.find(id);
    if (rel == rels_.end()) return;
    const std::string part = PartName(folder_, rel->second);
    if (!zip_.Read(part, &shape->image)) return;
    const size_t dot = part.find_last_of('.');
    if (dot != std::string::npos) {
      std::string ext = part.substr(dot + 1);
      shape->image_extension.assign(ext.begin(), ext.end());
    }
  }

  bool in_properties() const { return properties_ > 0; }

  const ZipArchive& zip_;
  std::string folder_;
  std::map<std::wstring, std::wstring> rels_;
  std::vector<Target> targets_;
  std::vector<OpenShape> shapes_;
  std::vector<OpenParagraph> paragraphs_;
  std::vector<Reference> references_;
  PageNumbersModel page_numbers_;
  bool title_page_ = false;
  bool in_instruction_ = false;
  CharFormat run_, saved_run_;
  PageSetupModel page_setup_;
  int depth_ = 0;
  int skip_ = 0;
  int properties_ = 0;
  bool in_text_ = false;
  bool saw_root_ = false;
  bool text_box_open_ = false;
  int text_box_depth_ = 0;
};

DocxResult ReadFileBytes(const std::wstring& path, std::string* bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return DocxResult::kNotFound;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return DocxResult::kUnreadable;
  LARGE_INTEGER size{};
  DocxResult result = DocxResult::kUnreadable;
  if (GetFileSizeEx(file, &size)) {
    if (size.QuadPart > kMaxFileSize) {
      result = DocxResult::kCorrupt;
    } else {
      bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
      DWORD read = 0;
      if (bytes->empty() ||
          (ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
           read == bytes->size())) {
        result = DocxResult::kOk;
      }
    }
  }
  CloseHandle(file);
  return result;
}

// The main part, named by the package's relationship of type officeDocument.
std::string MainPart(const ZipArchive& zip) {
  std::string xml;
  com::ComPtr<IXmlReader> r;
  if (zip.Read("_rels/.rels", &xml) && SUCCEEDED(CreateXmlReaderOver(xml, r.Receive()))) {
    XmlNodeType type;
    while (r->Read(&type) == S_OK) {
      if (type != XmlNodeType_Element) continue;
      const std::wstring kind = Attribute(r.Get(), L"Type", nullptr);
      const std::wstring suffix = L"/officeDocument";
      if (kind.size() > suffix.size() &&
          kind.compare(kind.size() - suffix.size(), suffix.size(), suffix) == 0) {
        return PartName("", Attribute(r.Get(), L"Target", nullptr));
      }
    }
  }
  return "word/document.xml";
}

// A header or footer part, with its own relationships (its pictures).
bool ReadHeaderFooter(const ZipArchive& zip, const std::string& part, HeaderFooterModel* model) {
  std::string xml;
  if (!zip.Read(part, &xml)) return false;
  const size_t slash = part.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  BodyReader reader(zip, folder,
                    ReadRelationships(zip, folder + "_rels/" + part.substr(folder.size()) + ".rels"));
  com::ComPtr<IXmlReader> r;
  if (FAILED(CreateXmlReaderOver(xml, r.Receive())) || !reader.Run(r.Get(), model->story.get()))
    return false;
  model->page_numbers = reader.page_numbers();
  return true;
}

}  // namespace

DocxResult ReadDocxFile(const std::wstring& path, DocumentModel* doc) {
  std::string bytes;
  DocxResult read = ReadFileBytes(path, &bytes);
  if (read != DocxResult::kOk) return read;
  ZipArchive zip;
  if (!zip.Load(std::move(bytes))) return DocxResult::kCorrupt;
  const std::string main = MainPart(zip);
  std::string xml;
  if (!zip.Read(main, &xml)) return DocxResult::kCorrupt;
  const size_t slash = main.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : main.substr(0, slash + 1);
  const std::string rels_part = folder + "_rels/" + main.substr(folder.size()) + ".rels";
  const auto rels = ReadRelationships(zip, rels_part);
  BodyReader body(zip, folder, rels);
  com::ComPtr<IXmlReader> reader;
  if (FAILED(CreateXmlReaderOver(xml, reader.Receive())) || !body.Run(reader.Get(), doc->main.get()))
    return DocxResult::kCorrupt;
  doc->page_setup = body.page_setup();
  for (const BodyReader::Reference& ref : body.references()) {
    auto type = std::find(std::begin(kHeaderFooterTypes), std::end(kHeaderFooterTypes), ref.type);
    auto rel = rels.find(ref.id);
    if (type == std::end(kHeaderFooterTypes) || rel == rels.end()) continue;
    HeaderFooterModel& model = (ref.footer ? doc->footers : doc->headers)[type - std::begin(kHeaderFooterTypes)];
    if (!ReadHeaderFooter(zip, PartName(folder, rel->second), &model)) return DocxResult::kCorrupt;
    // A different first page leaves the page number off the first page.
    if (model.page_numbers.count > 0) model.page_numbers.first_page = !body.title_page();
  }
  return DocxResult::kOk;
}

}  // namespace standin

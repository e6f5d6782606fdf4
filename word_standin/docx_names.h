// Namespaces and relationship types of a WordprocessingML package, shared by the reader and
// the writer.
#pragma once

namespace standin {

constexpr wchar_t kW[] = L"http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr wchar_t kWp[] = L"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr wchar_t kWps[] = L"http://schemas.microsoft.com/office/word/2010/wordprocessingShape";
constexpr wchar_t kWpg[] = L"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup";
constexpr wchar_t kPic[] = L"http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr wchar_t kA[] = L"http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr wchar_t kMc[] = L"http://schemas.openxmlformats.org/markup-compatibility/2006";
constexpr wchar_t kV[] = L"urn:schemas-microsoft-com:vml";
constexpr wchar_t kR[] = L"http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr wchar_t kRels[] = L"http://schemas.openxmlformats.org/package/2006/relationships";
constexpr wchar_t kContentTypes[] = L"http://schemas.openxmlformats.org/package/2006/content-types";

// Relationship types: the package's main part, and the main part's pictures, headers, footers.
constexpr wchar_t kRelOfficeDocument[] =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr wchar_t kRelImage[] =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr wchar_t kRelHeader[] =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header";
constexpr wchar_t kRelFooter[] =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer";

constexpr float kEmuPerPoint = 12700.0f;
constexpr float kTwipsPerPoint = 20.0f;

// w:headerReference / w:footerReference types, in the order of the model's headers and footers
// (wdHeaderFooterPrimary, FirstPage, EvenPages).
constexpr const wchar_t* kHeaderFooterTypes[3] = {L"default", L"first", L"even"};

// WdPageNumberAlignment 0 to 4 as a frame's horizontal alignment.
constexpr const wchar_t* kPageNumberAlignments[5] = {L"left", L"center", L"right", L"inside",
                                                     L"outside"};

}  // namespace standin

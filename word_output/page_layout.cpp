// Paper size, margins and page numbers of the output document: PageSet and SetPageNo.
#include "hresult.h"
#include "word_constants.h"
#include "word_print_out.h"

namespace quorrel {
namespace {

using com::Variant;

// Word's alignment for the client's position code: 0 centre, 1 left, 2 right, else left.
LONG PageNumberAlignment(LONG position) {
  switch (position) {
    case 0: return 1;
    case 2: return 2;
    default: return 0;
  }
}

}  // namespace

HRESULT WordPrintOut::PageSet(LONG* LoTopMargin, LONG* LoBottomMargin, LONG* LoLeftMargin,
                              LONG* LoRightMargin, LONG* LoHeaderDistance,
                              LONG* LoFooterDistance, LONG* LoPageWidth, LONG* LoPageHeight) {
  // Margins before paper size; the first value Word refuses ends the sequence, silently.
  const std::pair<const wchar_t*, LONG*> lengths[] = {
      {L"TopMargin", LoTopMargin},         {L"BottomMargin", LoBottomMargin},
      {L"LeftMargin", LoLeftMargin},       {L"RightMargin", LoRightMargin},
      {L"HeaderDistance", LoHeaderDistance}, {L"FooterDistance", LoFooterDistance},
      {L"PageWidth", LoPageWidth},         {L"PageHeight", LoPageHeight}};
  for (const auto& length : lengths) {
    if (!length.second) return S_OK;
  }
  WordObject document, page_setup;
  if (FAILED(App().Child(L"ActiveDocument", WordType::Document, &document)) ||
      FAILED(document.Child(L"PageSetup", WordType::PageSetup, &page_setup))) {
    return S_OK;
  }
  for (const auto& length : lengths) {
    if (FAILED(page_setup.Put(length.first, Variant::R8(*length.second * kPointsPerMillimetre)))) {
      break;
    }
  }
  return S_OK;
}

HRESULT WordPrintOut::SetPageNo(LONG* NoPoint, LONG* HFFlg) {
  if (!NoPoint || !HFFlg) return S_OK;
  WordObject selection, section, target, page_numbers, range, font;
  // Index 1 is the primary header or footer of the selection's first section.
  if (FAILED(App().Child(L"Selection", WordType::Selection, &selection)) ||
      FAILED(selection.Child(L"Sections", WordType::Section, &section, {Variant::I4(1)})) ||
      FAILED(section.Child(*HFFlg == 0 ? L"Headers" : L"Footers", WordType::HeaderFooter, &target,
                           {Variant::I4(1)})) ||
      FAILED(target.Child(L"PageNumbers", WordType::PageNumbers, &page_numbers)) ||
      FAILED(page_numbers.CallNamed(
          L"Add", {{L"PageNumberAlignment", Variant::I4(PageNumberAlignment(*NoPoint))},
                   {L"FirstPage", Variant::Bool(true)}})) ||
      FAILED(target.Child(L"Range", WordType::Range, &range)) ||
      FAILED(range.Child(L"Font", WordType::Font, &font))) {
    return S_OK;
  }
  font.Put(L"Name", Variant::Str(L"ＭＳ 明朝"));
  return S_OK;
}

}  // namespace quorrel

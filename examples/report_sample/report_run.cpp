#include "report_run.h"

#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "bstr.h"
#include "busy_window.h"
#include "com_ptr.h"
#include "item_rows.h"
#include "late_bound.h"
#include "quorrel_h.h"
#include "variant.h"

namespace report_sample {
namespace {

// WordOutErr_No values the client reads or stores.
constexpr LONG kNonErr = 0, kOutCancel = 2, kVertionErr = 3, kNonExistence = 4, kOthersErr = 99;
constexpr LONG kFormatXmlDocument = 12;  // wdFormatXMLDocument: .docx
constexpr DWORD kCancelWaitMs = 10000;

const std::vector<Item>& QuotationItems() {
  static const std::vector<Item> items = {
      {L"検査用治具", L"けんさようじぐ", 2, 12000},
      {L"端子台", L"たんしだい", 10, 850},
      {L"取付金具", L"とりつけかなぐ", 4, 1200},
  };
  return items;
}

LONG QuotationTotal() {
  LONG total = 0;
  for (const Item& item : QuotationItems()) total += item.quantity * item.unit_price;
  return total;
}

std::wstring Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t text[32];
  swprintf(text, 32, L"%u年%u月%u日", now.wYear, now.wMonth, now.wDay);
  return text;
}

// Pumps this thread's messages for `ms`, or until `done` holds: the busy window's event and our
// own windows' painting get in, as they do in a form's DoEvents.
template <class Done>
void PumpMessages(DWORD ms, Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= ms) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// "what failed (0x80040201: description)", with the description the failing object left.
std::wstring Failure(const std::wstring& what, HRESULT hr) {
  wchar_t code[16];
  swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  std::wstring text = what + L" failed (" + code;
  com::ComPtr<IErrorInfo> info;
  com::Bstr description;
  if (GetErrorInfo(0, info.Receive()) == S_OK && SUCCEEDED(info->GetDescription(description.Receive())) &&
      description.Length() > 0) {
    text += L": " + description.Str();
  }
  return text + L")";
}

class ReportRun {
 public:
  ReportRun(HWND owner, const RunSettings& settings) : owner_(owner), settings_(settings) {}

  RunResult Execute() {
    RunResult result;
    const std::wstring target = ReportPath(settings_.output);
    // The output folder holds the last run's report or none: a cancelled or failed run leaves
    // nothing that could pass for its result.
    SHCreateDirectoryExW(nullptr, settings_.output.c_str(), nullptr);
    if (!DeleteFileW(target.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      return Failed(&result, Failure(L"removing the previous report " + target,
                                     HRESULT_FROM_WIN32(GetLastError())));
    }

    HRESULT hr = CreateWordPrintOut();
    if (FAILED(hr)) return Failed(&result, Failure(L"creating Scrivlet.WordPrintOut", hr));
    com::Bstr forms(settings_.forms);
    word_->put_FormPath(forms.Get());

    // The cancel click reaches us as OnCancelButtonClicked; storing OutCancel is all it takes.
    hr = busy_.Create([this] {
      if (word_) word_->put_WordOutErr(kOutCancel);
    });
    if (SUCCEEDED(hr)) hr = busy_.Start(owner_);
    if (FAILED(hr)) return Failed(&result, Failure(L"showing the busy window", hr));

    std::wstring failure = BuildDocument(&result.pages);
    busy_.Stop();

    // A failure the library does not record itself still has to discard the document.
    if (!failure.empty() && Code() == kNonErr) word_->put_WordOutErr(kOthersErr);
    const bool finish = Code() == kNonErr;
    const bool cancelled = Code() == kOutCancel;
    word_->WordEnd();  // finish: Word shows the document; otherwise Word quits unsaved
    if (!finish) {
      word_.Reset();
      if (cancelled) {
        result.outcome = Outcome::kCancelled;
        return result;
      }
      return Failed(&result, failure);
    }

    com::ComPtr<IDispatch> document;
    word_->get_objNewWord(document.Receive());
    word_.Reset();
    hr = document ? SaveDocument(document.Get(), target) : E_POINTER;
    if (settings_.close_word || FAILED(hr)) QuitWord(document.Get());
    if (FAILED(hr)) return Failed(&result, Failure(L"saving " + target, hr));
    result.outcome = Outcome::kSaved;
    result.document = target;
    return result;
  }

 private:
  static RunResult Failed(RunResult* result, const std::wstring& message) {
    result->outcome = Outcome::kFailed;
    result->message = message;
    return *result;
  }

  HRESULT CreateWordPrintOut() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"Scrivlet.WordPrintOut", &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__WordPrintOut,
                            word_.ReceiveVoid());
  }

  LONG Code() const {
    LONG code = kOthersErr;
    word_->get_WordOutErr(&code);
    return code;
  }

  // Starts Word and appends the four pages; returns what failed, or nothing. A cancel leaves
  // OutCancel in WordOutErr and stops the pages.
  std::wstring BuildDocument(int* pages) {
    word_->WordStart();
    const LONG start_code = Code();
    if (start_code == kVertionErr || start_code == kNonExistence) {
      return L"starting Word failed (WordOutErr " + std::to_wstring(start_code) + L")";
    }
    using Page = std::wstring (ReportRun::*)();
    const Page steps[] = {&ReportRun::CoverPage, &ReportRun::ItemsPage, &ReportRun::PhotoPage,
                          &ReportRun::MemoPage};
    const int count = static_cast<int>(sizeof(steps) / sizeof(steps[0]));
    for (int page = 1; page <= count; ++page) {
      PumpMessages(settings_.page_pause_ms, [] { return false; });
      if (page == settings_.cancel_before_page) PressCancel();
      if (Code() == kOutCancel) return L"";
      if (page > 1) word_->NewPage();
      std::wstring failure = (this->*steps[page - 1])();
      if (Code() == kOutCancel) return L"";
      if (!failure.empty()) return failure;
      ++*pages;
    }
    word_->LastDelete();
    // A4 with 20 mm top and bottom, 25 mm side margins; page numbers centred in the footer.
    LONG mm[] = {20, 20, 25, 25, 10, 10, 210, 297};
    word_->PageSet(&mm[0], &mm[1], &mm[2], &mm[3], &mm[4], &mm[5], &mm[6], &mm[7]);
    LONG centre = 0, footer = 1;
    word_->SetPageNo(&centre, &footer);
    return L"";
  }

  // Clicks the busy window's cancel button and waits for the event to come back.
  void PressCancel() {
    if (!busy_.PressCancel()) return;
    PumpMessages(kCancelWaitMs, [this] { return Code() == kOutCancel; });
  }

  std::wstring Append(const wchar_t* name) {
    com::Bstr file(name);
    HRESULT hr = word_->put_FormName(file.Get());
    return FAILED(hr) ? Failure(std::wstring(L"appending ") + name, hr) : L"";
  }

  std::wstring Fill(const wchar_t* field, const com::Variant& text) {
    com::Bstr name(field);
    BSTR raw = name.Get();
    com::Variant value(text);
    VARIANT_BOOL wildcard = VARIANT_FALSE;
    LONG found = -1;
    HRESULT hr = word_->SetFieldText(&raw, value.Ptr(), &wildcard, &found);
    if (FAILED(hr)) return Failure(std::wstring(L"filling ") + field, hr);
    return found == 0 ? L"" : std::wstring(L"field ") + field + L" is not in the document";
  }

  std::wstring CoverPage() {
    std::wstring failure = Append(L"sample_cover.docx");
    const std::pair<const wchar_t*, std::wstring> fields[] = {
        {L"#customer#", L"株式会社 山田製作所"},
        {L"#date#", Today()},
        {L"#total#", GroupedNumber(QuotationTotal())},
        {L"#note#", L"有効期限 発行日より30日"},
    };
    for (const auto& [field, text] : fields) {
      if (failure.empty()) failure = Fill(field, com::Variant::Str(text));
    }
    return failure;
  }

  std::wstring ItemsPage() {
    std::wstring failure = Append(L"sample_items.docx");
    if (failure.empty()) failure = Fill(L"#period#", com::Variant::Str(L"税抜"));
    if (!failure.empty()) return failure;
    com::ComPtr<_Collection> rows = NewItemCollection(QuotationItems());
    if (!rows) return L"making the item rows failed";
    _Collection* raw = rows.Get();
    LONG table = 1, max_index = kItemMaxIndex, count = static_cast<LONG>(QuotationItems().size());
    LONG first_row = 2, max_ruby = kItemMaxRubyIndex;
    word_->SetTable(&raw, &table, &max_index, &count, &first_row, &max_ruby);
    return L"";
  }

  std::wstring PhotoPage() {
    std::wstring failure = Append(L"sample_photo.docx");
    if (!failure.empty()) return failure;
    com::Bstr field(L"#photo#"), picture(settings_.forms + L"sample_photo.png");
    BSTR raw_field = field.Get(), raw_picture = picture.Get();
    double height = 50, width = 75;  // millimetres
    LONG placed = -1;
    word_->SetFieldImage(&raw_field, &raw_picture, &height, &width, &placed);
    if (placed != 0) return L"placing the picture " + picture.Str() + L" failed";
    return Fill(L"#photographer#", com::Variant::Str(L"営業部 山田"));
  }

  // The memo's fields stand in text boxes: filled in the template, then appended.
  std::wstring MemoPage() {
    com::Bstr file(L"sample_memo.docx");
    BSTR raw_file = file.Get();
    com::ComPtr<IDispatch> memo;
    HRESULT hr = word_->SetFieldTextBox_Before(&raw_file, memo.Receive());
    if (FAILED(hr)) return Failure(L"opening sample_memo.docx", hr);
    const std::pair<const wchar_t*, const wchar_t*> boxes[] = {
        {L"#staff#", L"担当: 営業部 山田 太郎"},
        {L"#phone#", L"連絡先: 03-1234-5678"},
    };
    for (const auto& [field, text] : boxes) {
      com::Bstr f(field), t(text);
      BSTR raw_f = f.Get(), raw_t = t.Get();
      hr = word_->SelectionFindforTextBox(&raw_f, &raw_t);
      if (FAILED(hr)) {
        std::wstring failure = Failure(std::wstring(L"filling the text box ") + field, hr);
        IDispatch* raw_memo = memo.Get();
        word_->SetFieldTextBox_After(&raw_memo);  // closes the template, unsaved
        return failure;
      }
    }
    IDispatch* raw_memo = memo.Get();
    hr = word_->SetFieldTextBox_After(&raw_memo);
    return FAILED(hr) ? Failure(L"appending sample_memo.docx", hr) : L"";
  }

  // Word 2010 and later know SaveAs2; earlier versions only SaveAs, with the same arguments.
  static HRESULT SaveDocument(IDispatch* document, const std::wstring& path) {
    HRESULT hr = DISP_E_UNKNOWNNAME;
    for (const wchar_t* member : {L"SaveAs2", L"SaveAs"}) {
      hr = com::Invoke(document, member, DISPATCH_METHOD, {},
                       {{L"FileName", com::Variant::Str(path)},
                        {L"FileFormat", com::Variant::I4(kFormatXmlDocument)}},
                       nullptr);
      if (hr != DISP_E_UNKNOWNNAME && hr != DISP_E_MEMBERNOTFOUND) return hr;
    }
    return hr;
  }

  static void QuitWord(IDispatch* document) {
    com::ComPtr<IDispatch> application;
    if (document && SUCCEEDED(com::GetObject(document, L"Application", &application))) {
      com::CallMethod(application.Get(), L"Quit", {com::Variant::I4(0)});  // do not save
    }
  }

  HWND owner_;
  const RunSettings& settings_;
  com::ComPtr<_WordPrintOut> word_;
  BusyWindow busy_;
};

}  // namespace

std::wstring ReportPath(const std::wstring& output) { return output + L"sample_report.docx"; }

RunResult MakeReport(HWND owner, const RunSettings& settings) {
  return ReportRun(owner, settings).Execute();
}

}  // namespace report_sample

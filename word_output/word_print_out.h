// WordPrintOut: builds one report in Word per run (start, append templates, fill, finish).
#pragma once
#include <windows.h>

#include "bstr.h"
#include "com_ptr.h"
#include "quorrel_h.h"
#include "typelib_dispatch.h"
#include "unknown_impl.h"
#include "word_automation.h"

namespace quorrel {

class WordPrintOut final
    : public com::Unknown<com::Answering<com::TypeLibDispatch<_WordPrintOut>, IDispatch>,
                          ISupportErrorInfo> {
 public:
  static HRESULT Create(REFIID iid, void** out);

  // IDispatch: the rest comes from the type library.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                   UINT* arg_err) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

  // _WordPrintOut, in slot order
  HRESULT STDMETHODCALLTYPE SetFieldTextBox_Before(BSTR* StFileName, IDispatch** ret) override;
  HRESULT STDMETHODCALLTYPE SetFieldTextBox_After(IDispatch** dc) override;
  HRESULT STDMETHODCALLTYPE SetPageNo(LONG* NoPoint, LONG* HFFlg) override;
  HRESULT STDMETHODCALLTYPE PageSet(LONG* LoTopMargin, LONG* LoBottomMargin, LONG* LoLeftMargin,
                                    LONG* LoRightMargin, LONG* LoHeaderDistance,
                                    LONG* LoFooterDistance, LONG* LoPageWidth,
                                    LONG* LoPageHeight) override;
  HRESULT STDMETHODCALLTYPE SetTable(_Collection** CoData, LONG* LoTableNo, LONG* LoMaxIndex,
                                     LONG* LoRow, LONG* LoStartRow, LONG* LoMaxRubiIndex) override;
  HRESULT STDMETHODCALLTYPE SetFieldText(BSTR* StFieldname, VARIANT* StText,
                                         VARIANT_BOOL* BoWildCard, LONG* ret) override;
  HRESULT STDMETHODCALLTYPE SetFieldImage(BSTR* StFildname, BSTR* StImageFilename,
                                          double* DoHeight, double* DoWidth, LONG* ret) override;
  HRESULT STDMETHODCALLTYPE SelectionFindforTextBox(BSTR* StFieldname, BSTR* StText) override;
  HRESULT STDMETHODCALLTYPE NewPage() override;
  HRESULT STDMETHODCALLTYPE WordStart() override;
  HRESULT STDMETHODCALLTYPE WordEnd() override;
  HRESULT STDMETHODCALLTYPE LastDelete() override;
  HRESULT STDMETHODCALLTYPE ClearConversion() override;
  HRESULT STDMETHODCALLTYPE put_objWord(IDispatch* rhs) override;
  HRESULT STDMETHODCALLTYPE get_objWord(IDispatch** ret) override;
  HRESULT STDMETHODCALLTYPE put_objNewWord(IDispatch* rhs) override;
  HRESULT STDMETHODCALLTYPE get_objNewWord(IDispatch** ret) override;
  HRESULT STDMETHODCALLTYPE put_FormName(BSTR rhs) override;
  HRESULT STDMETHODCALLTYPE get_FormName(BSTR* ret) override;
  HRESULT STDMETHODCALLTYPE get_FormPath(BSTR* ret) override;
  HRESULT STDMETHODCALLTYPE put_FormPath(BSTR rhs) override;
  HRESULT STDMETHODCALLTYPE put_WordOutErr(LONG rhs) override;
  HRESULT STDMETHODCALLTYPE get_WordOutErr(LONG* ret) override;
  HRESULT STDMETHODCALLTYPE get_OwnerFormCaption(BSTR* ret) override;
  HRESULT STDMETHODCALLTYPE put_OwnerFormCaption(BSTR rhs) override;

 private:
  WordPrintOut();
  ~WordPrintOut();

  // Sets the twelve search conditions on the insertion range's Find; lets Word's errors through.
  HRESULT SetFindReplace(const wchar_t* find_text, const wchar_t* replace_text, bool wildcards);
  // Replace-all with the conditions set on the insertion range's Find; `found` gets Word's flag.
  HRESULT ReplaceAllInRange(bool* found);
  HRESULT FinishAndShow();
  HRESULT FillTable(_Collection* rows, LONG table_no, LONG max_index, LONG row_count,
                    LONG start_row, LONG max_ruby_index);
  // Fails towards the caller with Word's own error and description.
  static HRESULT PassWordError(HRESULT hr, const com::CallError& error);
  HRESULT Discard();

  WordObject App() { return surface_.Wrap(word_.Get(), WordType::Application); }
  WordObject OutputDocument() { return surface_.Wrap(new_word_.Get(), WordType::Document); }
  WordObject InsertionRange() { return surface_.Wrap(range_.Get(), WordType::Range); }

  WordSurface surface_;
  com::ComPtr<IDispatch> word_;      // objWord
  com::ComPtr<IDispatch> new_word_;  // objNewWord
  com::Bstr form_name_;
  com::Bstr form_path_;
  LONG word_out_err_ = NonErr;
  com::Bstr owner_form_caption_;
  com::ComPtr<IDispatch> range_;     // objRange
};

}  // namespace quorrel

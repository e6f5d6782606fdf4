// Word's Find and Replacement objects.
#include "app_find_settings.h"
#include "automation_object.h"
#include "bstr.h"
#include "find_engine.h"
#include "objects.h"
#include "optional_args.h"
#include "word_error.h"

namespace standin {

FindSettings& StickyFindSettings() {
  static FindSettings settings;
  return settings;
}

namespace {

constexpr size_t kMaxFindText = 255;  // Word's limit on find and replacement text
constexpr LONG kReplaceNone = 0, kReplaceOne = 1, kReplaceAll = 2;
constexpr LONG kFindContinue = 1;

HRESULT TooLong(REFIID iid) {
  return WordError(iid, kStringTooLong, L"String parameter too long.");
}

HRESULT PutFlag(VARIANT_BOOL value, bool* flag) {
  *flag = value != VARIANT_FALSE;
  return S_OK;
}

class FindObject final : public AutomationObject<Find> {
 public:
  FindObject(DocumentPtr doc, std::shared_ptr<Story> story, std::shared_ptr<Span> span)
      : AutomationObject(L"Find"), doc_(std::move(doc)), story_(std::move(story)),
        span_(std::move(span)) {}

  HRESULT STDMETHODCALLTYPE get_Text(BSTR* prop) override {
    return com::Bstr(Settings().text).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE put_Text(BSTR prop) override {
    if (SysStringLen(prop) > kMaxFindText) return TooLong(IID_Find);
    Settings().text.assign(prop ? prop : L"", SysStringLen(prop));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Replacement(Replacement** prop) override {
    return NewReplacement(prop);
  }
  HRESULT STDMETHODCALLTYPE get_Forward(VARIANT_BOOL* p) override { return Get(Settings().forward, p); }
  HRESULT STDMETHODCALLTYPE put_Forward(VARIANT_BOOL v) override { return PutFlag(v, &Settings().forward); }
  HRESULT STDMETHODCALLTYPE get_Wrap(LONG* prop) override {
    *prop = Settings().wrap;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Wrap(LONG prop) override {
    if (prop < 0 || prop > 2) return WordError(IID_Find, kValueOutOfRange, L"Value out of range.");
    Settings().wrap = prop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Format(VARIANT_BOOL* p) override { return Get(Settings().format, p); }
  HRESULT STDMETHODCALLTYPE put_Format(VARIANT_BOOL v) override { return PutFlag(v, &Settings().format); }
  HRESULT STDMETHODCALLTYPE get_MatchCase(VARIANT_BOOL* p) override { return Get(Settings().match_case, p); }
  HRESULT STDMETHODCALLTYPE put_MatchCase(VARIANT_BOOL v) override { return PutFlag(v, &Settings().match_case); }
  HRESULT STDMETHODCALLTYPE get_MatchWholeWord(VARIANT_BOOL* p) override { return Get(Settings().whole_word, p); }
  HRESULT STDMETHODCALLTYPE put_MatchWholeWord(VARIANT_BOOL v) override { return PutFlag(v, &Settings().whole_word); }
  HRESULT STDMETHODCALLTYPE get_MatchWildcards(VARIANT_BOOL* p) override { return Get(Settings().wildcards, p); }
  HRESULT STDMETHODCALLTYPE put_MatchWildcards(VARIANT_BOOL v) override { return PutFlag(v, &Settings().wildcards); }
  HRESULT STDMETHODCALLTYPE get_MatchSoundsLike(VARIANT_BOOL* p) override { return Get(Settings().sounds_like, p); }
  HRESULT STDMETHODCALLTYPE put_MatchSoundsLike(VARIANT_BOOL v) override { return PutFlag(v, &Settings().sounds_like); }
  HRESULT STDMETHODCALLTYPE get_MatchAllWordForms(VARIANT_BOOL* p) override { return Get(Settings().all_word_forms, p); }
  HRESULT STDMETHODCALLTYPE put_MatchAllWordForms(VARIANT_BOOL v) override { return PutFlag(v, &Settings().all_word_forms); }
  HRESULT STDMETHODCALLTYPE get_MatchFuzzy(VARIANT_BOOL* p) override { return Get(Settings().fuzzy, p); }
  HRESULT STDMETHODCALLTYPE put_MatchFuzzy(VARIANT_BOOL v) override { return PutFlag(v, &Settings().fuzzy); }
  HRESULT STDMETHODCALLTYPE get_Found(VARIANT_BOOL* prop) override { return Get(found_, prop); }
  // Formatting conditions are not searched for here; clearing them leaves nothing to do.
  HRESULT STDMETHODCALLTYPE ClearFormatting() override { return S_OK; }

  // Arguments given to Execute become the find conditions, as in Word.
  HRESULT STDMETHODCALLTYPE Execute(VARIANT* FindText, VARIANT* MatchCase, VARIANT* MatchWholeWord,
                                    VARIANT* MatchWildcards, VARIANT* MatchSoundsLike,
                                    VARIANT* MatchAllWordForms, VARIANT* Forward, VARIANT* Wrap,
                                    VARIANT* Format, VARIANT* ReplaceWith, VARIANT* Replace,
                                    VARIANT* MatchKashida, VARIANT* MatchDiacritics,
                                    VARIANT* MatchAlefHamza, VARIANT* MatchControl,
                                    VARIANT_BOOL* prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Find);
    FindSettings& s = Settings();
    LONG replace = kReplaceNone;
    std::wstring text, replacement;
    bool ok = SUCCEEDED(OptionalString(FindText, s.text, &text)) &&
              SUCCEEDED(OptionalString(ReplaceWith, s.replacement, &replacement)) &&
              SUCCEEDED(OptionalBool(MatchCase, s.match_case, &s.match_case)) &&
              SUCCEEDED(OptionalBool(MatchWholeWord, s.whole_word, &s.whole_word)) &&
              SUCCEEDED(OptionalBool(MatchWildcards, s.wildcards, &s.wildcards)) &&
              SUCCEEDED(OptionalBool(MatchSoundsLike, s.sounds_like, &s.sounds_like)) &&
              SUCCEEDED(OptionalBool(MatchAllWordForms, s.all_word_forms, &s.all_word_forms)) &&
              SUCCEEDED(OptionalBool(Forward, s.forward, &s.forward)) &&
              SUCCEEDED(OptionalLong(Wrap, s.wrap, &s.wrap)) &&
              SUCCEEDED(OptionalBool(Format, s.format, &s.format)) &&
              SUCCEEDED(OptionalLong(Replace, kReplaceNone, &replace));
    if (!ok) return WordError(IID_Find, kTypeMismatch, L"Type mismatch.");
    if (text.size() > kMaxFindText || replacement.size() > kMaxFindText) return TooLong(IID_Find);
    s.text = text;
    s.replacement = replacement;

    FindPattern pattern;
    std::wstring error;
    if (!pattern.Compile(s.text, {s.match_case, s.whole_word, s.wildcards}, &error))
      return WordError(IID_Find, kBadPattern, error.c_str());
    found_ = replace == kReplaceAll ? ReplaceAll(pattern) : FindOne(pattern, replace == kReplaceOne);
    *prop = found_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

 private:
  static FindSettings& Settings() { return StickyFindSettings(); }
  static HRESULT Get(bool value, VARIANT_BOOL* prop) {
    *prop = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

  // A match redefines the range (or selection) to the matched text. Wrap continue goes on
  // from the other end of the story when nothing is found up to this end.
  bool FindOne(const FindPattern& pattern, bool replace) {
    const FindSettings& s = Settings();
    const std::wstring& text = story_->text();
    const LONG length = story_->length();
    const bool collapsed = span_->start == span_->end;
    Match m;
    bool hit;
    if (s.forward) {
      hit = pattern.FindForward(text, span_->start, collapsed ? length : span_->end, &m) ||
            (s.wrap == kFindContinue &&
             pattern.FindForward(text, collapsed ? 0 : span_->end, length, &m)) ||
            (s.wrap == kFindContinue && pattern.FindForward(text, 0, span_->start, &m));
    } else {
      hit = pattern.FindBackward(text, collapsed ? 0 : span_->start, span_->end, &m) ||
            (s.wrap == kFindContinue && pattern.FindBackward(text, 0, length, &m));
    }
    if (!hit) return false;
    span_->start = m.start;
    span_->end = m.end;
    if (replace) {
      std::wstring with = ExpandReplacement(s.replacement, text, m, s.wildcards);
      story_->Replace(m.start, m.end, with);
      span_->start = m.start;
      span_->end = m.start + static_cast<LONG>(with.size());
      doc_->saved = false;
    }
    return true;
  }

  // Every match in the range; with wrap continue, in the whole story from the range's start
  // on and then from the story's start. The range keeps its extent.
  bool ReplaceAll(const FindPattern& pattern) {
    const FindSettings& s = Settings();
    const bool whole = s.wrap == kFindContinue;
    auto end_limit = story_->Track(0, whole ? story_->length() : span_->end);
    auto cursor = story_->Track(span_->start, span_->start);
    bool any = false;
    auto run = [&](LONG stop_at_end) {
      Match m;
      while (cursor->start < stop_at_end &&
             pattern.FindForward(story_->text(), cursor->start, stop_at_end, &m)) {
        std::wstring with = ExpandReplacement(s.replacement, story_->text(), m, s.wildcards);
        story_->Replace(m.start, m.end, with);
        cursor->start = cursor->end = m.start + static_cast<LONG>(with.size());
        any = true;
        stop_at_end = whole ? story_->length() : end_limit->end;
      }
    };
    run(whole ? story_->length() : end_limit->end);
    if (whole) {
      auto first_part_end = story_->Track(span_->start, span_->start);
      cursor->start = cursor->end = 0;
      Match m;
      while (pattern.FindForward(story_->text(), cursor->start, first_part_end->start, &m)) {
        std::wstring with = ExpandReplacement(s.replacement, story_->text(), m, s.wildcards);
        story_->Replace(m.start, m.end, with);
        cursor->start = cursor->end = m.start + static_cast<LONG>(with.size());
        any = true;
      }
    }
    if (any) doc_->saved = false;
    return any;
  }

  DocumentPtr doc_;
  std::shared_ptr<Story> story_;
  std::shared_ptr<Span> span_;
  bool found_ = false;
};

class ReplacementObject final : public AutomationObject<Replacement> {
 public:
  ReplacementObject() : AutomationObject(L"Replacement") {}

  HRESULT STDMETHODCALLTYPE get_Text(BSTR* prop) override {
    return com::Bstr(StickyFindSettings().replacement).CopyTo(prop);
  }
  HRESULT STDMETHODCALLTYPE put_Text(BSTR prop) override {
    if (SysStringLen(prop) > kMaxFindText) return TooLong(IID_Replacement);
    StickyFindSettings().replacement.assign(prop ? prop : L"", SysStringLen(prop));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ClearFormatting() override { return S_OK; }
};

}  // namespace

HRESULT NewFind(const DocumentPtr& doc, const std::shared_ptr<Story>& story,
                const std::shared_ptr<Span>& span, Find** out) {
  return NewObject<FindObject>(out, doc, story, span);
}

HRESULT NewReplacement(Replacement** out) { return NewObject<ReplacementObject>(out); }

}  // namespace standin

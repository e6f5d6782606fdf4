// Word's PageSetup: lengths in points.
#include "automation_object.h"
#include "objects.h"
#include "word_error.h"

namespace standin {
namespace {

// Word refuses lengths below zero and above 22 inches (1584 points).
constexpr float kMaxLength = 1584.0f;

class PageSetupObject final : public AutomationObject<PageSetup> {
 public:
  explicit PageSetupObject(DocumentPtr doc) : AutomationObject(L"PageSetup"), doc_(std::move(doc)) {}

#define STANDIN_LENGTH(Name, field)                                          \
  HRESULT STDMETHODCALLTYPE get_##Name(float* prop) override {               \
    *prop = doc_->page_setup.field;                                          \
    return S_OK;                                                             \
  }                                                                          \
  HRESULT STDMETHODCALLTYPE put_##Name(float prop) override { return Set(&doc_->page_setup.field, prop); }

  STANDIN_LENGTH(TopMargin, top_margin)
  STANDIN_LENGTH(BottomMargin, bottom_margin)
  STANDIN_LENGTH(LeftMargin, left_margin)
  STANDIN_LENGTH(RightMargin, right_margin)
  STANDIN_LENGTH(HeaderDistance, header_distance)
  STANDIN_LENGTH(FooterDistance, footer_distance)
  STANDIN_LENGTH(PageWidth, page_width)
  STANDIN_LENGTH(PageHeight, page_height)
#undef STANDIN_LENGTH

 private:
  HRESULT Set(float* field, float value) {
    if (doc_->closed) return ObjectDeleted(IID_PageSetup);
    if (!(value >= 0.0f && value <= kMaxLength))
      return WordError(IID_PageSetup, kValueOutOfRange, L"Value out of range.");
    *field = value;
    doc_->saved = false;
    return S_OK;
  }

  DocumentPtr doc_;
};

}  // namespace

HRESULT NewPageSetup(const DocumentPtr& doc, PageSetup** out) {
  return NewObject<PageSetupObject>(out, doc);
}

}  // namespace standin

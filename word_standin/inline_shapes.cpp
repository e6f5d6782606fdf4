// Word's InlineShapes (the pictures in a range or a document's main story) and InlineShape.
#include <algorithm>

#include "automation_object.h"
#include "bstr.h"
#include "objects.h"
#include "optional_args.h"
#include "variant.h"
#include "picture_file.h"
#include "word_error.h"

namespace standin {
namespace {

constexpr float kMaxShapeSize = 1584.0f;  // points (22 inches), Word's limit for a side

class InlineShapeObject final : public AutomationObject<InlineShape> {
 public:
  InlineShapeObject(DocumentPtr doc, std::shared_ptr<Story> story,
                    std::shared_ptr<ShapeModel> shape)
      : AutomationObject(L"InlineShape"), doc_(std::move(doc)), story_(std::move(story)),
        shape_(std::move(shape)) {}

  HRESULT STDMETHODCALLTYPE get_Height(float* prop) override {
    *prop = shape_->height;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Height(float prop) override { return PutSize(prop, &shape_->height); }
  HRESULT STDMETHODCALLTYPE get_Width(float* prop) override {
    *prop = shape_->width;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Width(float prop) override { return PutSize(prop, &shape_->width); }
  // wdInlineShapePicture (3).
  HRESULT STDMETHODCALLTYPE get_Type(LONG* prop) override {
    *prop = 3;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Range(::Range** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_InlineShape);
    return NewRange(doc_, story_, shape_->anchor->start, shape_->anchor->end, prop);
  }

 private:
  // Word takes sizes above zero up to 22 inches; others are "value out of range".
  HRESULT PutSize(float value, float* size) {
    if (doc_->closed) return ObjectDeleted(IID_InlineShape);
    if (!(value > 0 && value <= kMaxShapeSize))
      return WordError(IID_InlineShape, kValueOutOfRange, L"Value out of range.");
    *size = value;
    doc_->saved = false;
    return S_OK;
  }

  DocumentPtr doc_;
  std::shared_ptr<Story> story_;
  std::shared_ptr<ShapeModel> shape_;
};

class InlineShapesObject final : public AutomationObject<InlineShapes> {
 public:
  InlineShapesObject(DocumentPtr doc, std::shared_ptr<Story> story, std::shared_ptr<Span> span)
      : AutomationObject(L"InlineShapes"), doc_(std::move(doc)), story_(std::move(story)),
        span_(std::move(span)) {}

  HRESULT STDMETHODCALLTYPE Item(LONG Index, InlineShape** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_InlineShapes);
    const auto shapes = Pictures();
    if (Index < 1 || Index > static_cast<LONG>(shapes.size()))
      return WordError(IID_InlineShapes, kNoSuchMember,
                       L"The requested member of the collection does not exist.");
    return NewInlineShape(doc_, story_, shapes[Index - 1], prop);
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    if (doc_->closed) return ObjectDeleted(IID_InlineShapes);
    *prop = static_cast<LONG>(Pictures().size());
    return S_OK;
  }
  // The picture replaces the text of Range (a collapsed range: goes in at it); without Range
  // it goes in at the start of the collection's range. A linked picture is embedded all the
  // same: the document keeps the file's bytes.
  HRESULT STDMETHODCALLTYPE AddPicture(BSTR FileName, VARIANT* LinkToFile,
                                       VARIANT* SaveWithDocument, VARIANT* Range,
                                       InlineShape** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_InlineShapes);
    bool link = false, save = true;
    if (FAILED(OptionalBool(LinkToFile, false, &link)) ||
        FAILED(OptionalBool(SaveWithDocument, true, &save)))
      return Mismatch();
    std::shared_ptr<Story> story = story_;
    std::shared_ptr<Span> where;
    if (!IsOmitted(Range)) {
      com::Variant given;
      if (FAILED(VariantCopyInd(given.Ptr(), Range)) || given.Type() != VT_DISPATCH ||
          !RangeExtent(V_DISPATCH(given.Ptr()), &story, &where)) {
        return Mismatch();
      }
    } else {
      const LONG at = span_ ? span_->start : 0;
      where = story->Track(at, at);
    }
    const std::wstring path(FileName ? FileName : L"", SysStringLen(FileName));
    PictureFile picture;
    switch (LoadPictureFile(path, &picture)) {
      case PictureResult::kOk:
        break;
      case PictureResult::kNotFound:
        return WordError(IID_InlineShapes, kBadFileName,
                         (L"This is not a valid file name.\r\n(" + path + L")").c_str());
      case PictureResult::kUndecodable:
        return WordError(IID_InlineShapes, kCommandFailed, L"Command failed.");
    }
    ShapeModel model;
    model.type = kShapePicture;
    model.is_inline = true;
    model.image = std::move(picture.bytes);
    model.image_extension = picture.extension;
    model.width = picture.width;
    model.height = picture.height;
    const LONG start = where->start;
    const LONG end = std::min(where->end, story->last_insert_point());
    if (end > start) story->Replace(start, end, std::wstring());
    auto shape = story->AddShape(start, std::move(model));
    doc_->saved = false;
    return NewInlineShape(doc_, story, shape, prop);
  }

 private:
  static HRESULT Mismatch() { return WordError(IID_InlineShapes, kTypeMismatch, L"Type mismatch."); }

  std::vector<std::shared_ptr<ShapeModel>> Pictures() const {
    std::vector<std::shared_ptr<ShapeModel>> pictures;
    for (const auto& shape : story_->shapes()) {
      if (!shape->is_inline) continue;
      if (span_ && (shape->anchor->start < span_->start || shape->anchor->end > span_->end)) continue;
      pictures.push_back(shape);
    }
    return pictures;
  }

  DocumentPtr doc_;
  std::shared_ptr<Story> story_;
  std::shared_ptr<Span> span_;
};

}  // namespace

HRESULT NewInlineShapes(const DocumentPtr& doc, const std::shared_ptr<Story>& story,
                        const std::shared_ptr<Span>& span, InlineShapes** out) {
  return NewObject<InlineShapesObject>(out, doc, story, span);
}

HRESULT NewInlineShape(const DocumentPtr& doc, const std::shared_ptr<Story>& story,
                       const std::shared_ptr<ShapeModel>& shape, InlineShape** out) {
  return NewObject<InlineShapeObject>(out, doc, story, shape);
}

}  // namespace standin

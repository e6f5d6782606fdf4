// Word's Shapes collection of a document (its floating shapes, in the order of their anchors),
// Shape and TextFrame.
#include "automation_object.h"
#include "objects.h"
#include "variant.h"
#include "word_error.h"

namespace standin {
namespace {

std::vector<std::shared_ptr<ShapeModel>> FloatingShapes(const Story& story) {
  std::vector<std::shared_ptr<ShapeModel>> shapes;
  for (const auto& shape : story.shapes())
    if (!shape->is_inline) shapes.push_back(shape);
  return shapes;
}

class TextFrameObject final : public AutomationObject<TextFrame> {
 public:
  TextFrameObject(DocumentPtr doc, std::shared_ptr<ShapeModel> shape)
      : AutomationObject(L"TextFrame"), doc_(std::move(doc)), shape_(std::move(shape)) {}

  // The whole text story of the box, its final paragraph mark included.
  HRESULT STDMETHODCALLTYPE get_TextRange(::Range** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_TextFrame);
    if (!shape_->text)
      return WordError(IID_TextFrame, kNotAvailable,
                       L"This object does not support attached text.");
    return NewRange(doc_, shape_->text, 0, shape_->text->length(), prop);
  }
  // msoTrue (-1) when the box holds more than its final paragraph mark.
  HRESULT STDMETHODCALLTYPE get_HasText(LONG* prop) override {
    *prop = shape_->text && shape_->text->length() > 1 ? -1 : 0;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
  std::shared_ptr<ShapeModel> shape_;
};

class ShapeObject final : public AutomationObject<Shape> {
 public:
  ShapeObject(DocumentPtr doc, std::shared_ptr<ShapeModel> shape)
      : AutomationObject(L"Shape"), doc_(std::move(doc)), shape_(std::move(shape)) {}

  HRESULT STDMETHODCALLTYPE get_Type(LONG* prop) override {
    *prop = shape_->type;
    return S_OK;
  }
  // Every shape has a text frame; one that cannot hold text fails on reading its text.
  HRESULT STDMETHODCALLTYPE get_TextFrame(TextFrame** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Shape);
    return NewObject<TextFrameObject>(prop, doc_, shape_);
  }
  HRESULT STDMETHODCALLTYPE get_Width(float* prop) override {
    *prop = shape_->width;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Height(float* prop) override {
    *prop = shape_->height;
    return S_OK;
  }

 private:
  DocumentPtr doc_;
  std::shared_ptr<ShapeModel> shape_;
};

class ShapesObject final : public AutomationObject<Shapes> {
 public:
  explicit ShapesObject(DocumentPtr doc) : AutomationObject(L"Shapes"), doc_(std::move(doc)) {}

  // By number from 1; shapes are not named here, so a name finds nothing.
  HRESULT STDMETHODCALLTYPE Item(VARIANT* Index, Shape** prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Shapes);
    com::Variant index;
    if (!Index || FAILED(VariantCopyInd(index.Ptr(), Index)) || FAILED(index.ChangeType(VT_I4)))
      return WordError(IID_Shapes, kTypeMismatch, L"Type mismatch.");
    const auto shapes = FloatingShapes(*doc_->main);
    const LONG n = V_I4(index.Ptr());
    if (n < 1 || n > static_cast<LONG>(shapes.size()))
      return WordError(IID_Shapes, kNoSuchMember,
                       L"The requested member of the collection does not exist.");
    return NewObject<ShapeObject>(prop, doc_, shapes[n - 1]);
  }
  HRESULT STDMETHODCALLTYPE get_Count(LONG* prop) override {
    if (doc_->closed) return ObjectDeleted(IID_Shapes);
    *prop = static_cast<LONG>(FloatingShapes(*doc_->main).size());
    return S_OK;
  }

 private:
  DocumentPtr doc_;
};

}  // namespace

HRESULT NewShapes(const DocumentPtr& doc, Shapes** out) { return NewObject<ShapesObject>(out, doc); }

}  // namespace standin

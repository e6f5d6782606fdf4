#include "story.h"

#include <algorithm>

namespace standin {

ShapeModel ShapeModel::Clone() const {
  ShapeModel copy = *this;
  copy.text = text ? text->Clone() : nullptr;
  copy.anchor = nullptr;
  return copy;
}

Story::Story() : text_(1, kParagraphMark), formats_(1) {}

std::shared_ptr<Span> Story::Track(LONG start, LONG end) {
  auto span = std::make_shared<Span>(Span{start, end});
  Clamp(span.get());
  spans_.erase(std::remove_if(spans_.begin(), spans_.end(),
                              [](const std::weak_ptr<Span>& s) { return s.expired(); }),
               spans_.end());
  spans_.push_back(span);
  return span;
}

void Story::Replace(LONG start, LONG end, const std::wstring& with) {
  Fragment fragment;
  fragment.text = with;
  CharFormat format = formats_[end > start ? start : (start > 0 ? start - 1 : 0)];
  format.in_table = false;  // Replace decides from the position
  fragment.formats.assign(with.size(), format);
  Replace(start, end, fragment);
}

void Story::Replace(LONG start, LONG end, const Fragment& with) {
  // Text put where a table's character stands (a cell's text or its mark) goes into the cell.
  const bool into_table = end < length() && formats_[end].in_table;
  if (end > start) {
    // Deleting only paragraph marks joins paragraphs: a floating shape anchored in them stays,
    // anchored in the joined paragraph, as in Word. Otherwise shapes go with their text.
    const bool joins_paragraphs =
        with.text.empty() && std::all_of(text_.begin() + start, text_.begin() + end,
                                         [](wchar_t c) { return c == kParagraphMark; });
    shapes_.erase(std::remove_if(shapes_.begin(), shapes_.end(),
                                 [&](const std::shared_ptr<ShapeModel>& s) {
                                   if (joins_paragraphs && !s->is_inline) return false;
                                   return s->anchor->start >= start && s->anchor->start < end;
                                 }),
                  shapes_.end());
  }
  text_.replace(start, end - start, with.text);
  formats_.erase(formats_.begin() + start, formats_.begin() + end);
  formats_.insert(formats_.begin() + start, with.formats.begin(), with.formats.end());
  if (into_table) {
    for (size_t i = 0; i < with.text.size(); ++i) formats_[start + i].in_table = true;
  }
  const LONG delta = static_cast<LONG>(with.text.size()) - (end - start);
  auto move = [&](LONG pos) {
    if (pos < start) return pos;
    if (pos >= end && (pos > start || end > start)) return pos + delta;
    if (pos == start && start == end) return pos + delta;  // text goes in before what follows
    return start;
  };
  for (const auto& weak : spans_) {
    if (auto span = weak.lock()) {
      span->start = move(span->start);
      span->end = move(span->end);
      Clamp(span.get());
    }
  }
  for (const ShapeModel& shape : with.shapes) {
    auto copy = std::make_shared<ShapeModel>(shape.Clone());
    const LONG at = start + shape.offset;
    copy->anchor = Track(at, at + (shape.is_inline ? 1 : 0));
    InsertShape(std::move(copy));
  }
}

Fragment Story::Copy(LONG start, LONG end) const {
  Fragment fragment;
  fragment.text = text_.substr(start, end - start);
  fragment.formats.assign(formats_.begin() + start, formats_.begin() + end);
  for (const auto& shape : shapes_) {
    if (shape->anchor->start < start || shape->anchor->start >= end) continue;
    ShapeModel copy = shape->Clone();
    copy.offset = shape->anchor->start - start;
    fragment.shapes.push_back(std::move(copy));
  }
  return fragment;
}

std::shared_ptr<Story> Story::Clone() const {
  auto copy = std::make_shared<Story>();
  copy->text_ = text_;
  copy->formats_ = formats_;
  for (const auto& shape : shapes_) {
    auto s = std::make_shared<ShapeModel>(shape->Clone());
    s->anchor = copy->Track(shape->anchor->start, shape->anchor->end);
    copy->shapes_.push_back(std::move(s));
  }
  return copy;
}

void Story::SetFormat(LONG start, LONG end, const std::function<void(CharFormat*)>& change) {
  for (LONG i = start; i < end; ++i) change(&formats_[i]);
}

std::shared_ptr<ShapeModel> Story::AddShape(LONG pos, ShapeModel shape) {
  if (shape.is_inline) Replace(pos, pos, std::wstring(1, kObjectMark));
  auto added = std::make_shared<ShapeModel>(std::move(shape));
  added->anchor = Track(pos, pos + (added->is_inline ? 1 : 0));
  InsertShape(added);
  return added;
}

void Story::InsertShape(std::shared_ptr<ShapeModel> shape) {
  auto at = std::upper_bound(shapes_.begin(), shapes_.end(), shape->anchor->start,
                             [](LONG pos, const std::shared_ptr<ShapeModel>& s) {
                               return pos < s->anchor->start;
                             });
  shapes_.insert(at, std::move(shape));
}

void Story::Clamp(Span* span) const {
  span->start = std::clamp<LONG>(span->start, 0, length());
  span->end = std::clamp<LONG>(span->end, span->start, length());
}

std::wstring VisibleText(const Story& story, LONG start, LONG end) {
  std::wstring out;
  out.reserve(end - start);
  const std::wstring& text = story.text();
  for (LONG i = start; i < end; ++i) {
    if (IsTableMark(text[i])) out += L"\r\a"; else out += text[i];
  }
  return out;
}

}  // namespace standin

#include "story.h"

#include <algorithm>

namespace standin {

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
  const CharFormat& format = formats_[start > 0 ? start - 1 : 0];
  fragment.formats.assign(with.size(), format);
  Replace(start, end, fragment);
}

void Story::Replace(LONG start, LONG end, const Fragment& with) {
  text_.replace(start, end - start, with.text);
  formats_.erase(formats_.begin() + start, formats_.begin() + end);
  formats_.insert(formats_.begin() + start, with.formats.begin(), with.formats.end());
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
}

Fragment Story::Copy(LONG start, LONG end) const {
  Fragment fragment;
  fragment.text = text_.substr(start, end - start);
  fragment.formats.assign(formats_.begin() + start, formats_.begin() + end);
  return fragment;
}

void Story::SetFormat(LONG start, LONG end, const std::function<void(CharFormat*)>& change) {
  for (LONG i = start; i < end; ++i) change(&formats_[i]);
}

void Story::Clamp(Span* span) const {
  span->start = std::clamp<LONG>(span->start, 0, length());
  span->end = std::clamp<LONG>(span->end, span->start, length());
}

}  // namespace standin

// Word's automation surface as the library uses it: late-bound calls by name, with each Word
// object type's DISPIDs resolved once and reused for every later object of that type, so that a
// call costs one cross-process round trip.
#pragma once
#include <oaidl.h>

#include <vector>

#include "com_ptr.h"
#include "late_bound.h"
#include "variant.h"

namespace quorrel {

enum class WordType {
  Application, Documents, Document, Range, Selection, Find, Replacement, Font, ParagraphFormat,
  Window, Pane, View, Zoom, Sections, Section, HeadersFooters, HeaderFooter, PageNumbers,
  PageSetup, Tables, Table, Cell, InlineShapes, InlineShape, Shapes, Shape, TextFrame, Count
};

class WordSurface;

// A Word object together with the DISPID cache of its type.
class WordObject {
 public:
  WordObject() = default;
  WordObject(IDispatch* obj, WordType type, WordSurface* surface)
      : obj_(obj), type_(type), surface_(surface) {}

  HRESULT Call(const wchar_t* member, std::vector<com::Variant> args = {},
               VARIANT* result = nullptr, com::CallError* error = nullptr) const;
  HRESULT CallNamed(const wchar_t* member, std::vector<com::NamedArg> named,
                    VARIANT* result = nullptr, com::CallError* error = nullptr) const;
  HRESULT Get(const wchar_t* member, VARIANT* result, std::vector<com::Variant> args = {},
              com::CallError* error = nullptr) const;
  HRESULT Put(const wchar_t* member, const com::Variant& value,
              com::CallError* error = nullptr) const;
  // A member whose value is another Word object, of type `type`.
  HRESULT Child(const wchar_t* member, WordType type, WordObject* out,
                std::vector<com::Variant> args = {}, com::CallError* error = nullptr) const;

  IDispatch* Get() const { return obj_.Get(); }
  explicit operator bool() const { return static_cast<bool>(obj_); }

 private:
  com::DispidCache* Cache() const;

  com::ComPtr<IDispatch> obj_;
  WordType type_ = WordType::Application;
  WordSurface* surface_ = nullptr;
};

class WordSurface {
 public:
  WordObject Wrap(IDispatch* obj, WordType type) { return WordObject(obj, type, this); }
  com::DispidCache* CacheFor(WordType type) { return &caches_[static_cast<int>(type)]; }

 private:
  com::DispidCache caches_[static_cast<int>(WordType::Count)];
};

}  // namespace quorrel

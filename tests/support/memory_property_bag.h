// A container's property bag kept in memory: what a form file would hold, in the order written.
#pragma once
#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

#include "com_ptr.h"
#include "unknown_impl.h"
#include "variant.h"

namespace testing_support {

class MemoryPropertyBag final : public com::Unknown<IPropertyBag> {
 public:
  static com::ComPtr<MemoryPropertyBag> New();

  // A missing name gives E_INVALIDARG; a value that does not convert to the asked type fails.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  // Font objects are cloned: a standard font cannot always save itself into a bag.
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  bool Has(const std::wstring& name) const;
  com::Variant Get(const std::wstring& name) const;  // VT_EMPTY when missing
  void Set(const std::wstring& name, const com::Variant& value);
  std::vector<std::wstring> Names() const;
  void Clear() { values_.clear(); }

 private:
  MemoryPropertyBag() = default;
  ~MemoryPropertyBag() = default;

  std::vector<std::pair<std::wstring, com::Variant>> values_;
};

}  // namespace testing_support

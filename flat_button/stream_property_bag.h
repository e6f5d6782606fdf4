// A property bag kept in memory and laid down in a stream, so that IPersistStreamInit saves and
// loads through the same handlers as IPersistPropertyBag.
#pragma once
#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

#include "variant.h"

namespace pelorin {

class StreamPropertyBag final : public IPropertyBag {
 public:
  static HRESULT Create(StreamPropertyBag** out);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // Unknown names give E_INVALIDARG, as a container's bag does.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  HRESULT SaveTo(IStream* stream) const;
  HRESULT LoadFrom(IStream* stream);

 private:
  StreamPropertyBag() = default;
  ~StreamPropertyBag() = default;

  ULONG refs_ = 1;
  std::vector<std::pair<std::wstring, com::Variant>> values_;  // in the order written
};

}  // namespace pelorin

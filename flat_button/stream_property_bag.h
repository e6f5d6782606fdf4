// A property bag kept in memory and laid down in a stream, so that IPersistStreamInit saves and
// loads through the same handlers as IPersistPropertyBag.
#pragma once
#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

#include "unknown_impl.h"
#include "variant.h"

namespace pelorin {

class StreamPropertyBag final : public com::Unknown<IPropertyBag> {
 public:
  static HRESULT Create(StreamPropertyBag** out);

  // Unknown names give E_INVALIDARG, as a container's bag does.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  HRESULT SaveTo(IStream* stream) const;
  HRESULT LoadFrom(IStream* stream);

 private:
  StreamPropertyBag() = default;
  ~StreamPropertyBag() = default;

  std::vector<std::pair<std::wstring, com::Variant>> values_;  // in the order written
};

}  // namespace pelorin

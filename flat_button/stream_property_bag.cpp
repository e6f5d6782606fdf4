#include "stream_property_bag.h"

#include <new>

#include "com_ptr.h"
#include "hresult.h"

namespace pelorin {
namespace {

constexpr DWORD kMagic = 0x31524C50;  // "PLR1"
constexpr DWORD kMaxCount = 64;
constexpr DWORD kMaxChars = 1 << 20;

HRESULT WriteBytes(IStream* s, const void* data, ULONG size) {
  ULONG done = 0;
  RETURN_IF_FAILED(s->Write(data, size, &done));
  return done == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT ReadBytes(IStream* s, void* data, ULONG size) {
  ULONG done = 0;
  RETURN_IF_FAILED(s->Read(data, size, &done));
  return done == size ? S_OK : STG_E_READFAULT;
}

HRESULT WriteText(IStream* s, const wchar_t* text, DWORD chars) {
  RETURN_IF_FAILED(WriteBytes(s, &chars, sizeof(chars)));
  return WriteBytes(s, text, chars * sizeof(wchar_t));
}

HRESULT ReadText(IStream* s, std::wstring* text) {
  DWORD chars = 0;
  RETURN_IF_FAILED(ReadBytes(s, &chars, sizeof(chars)));
  if (chars > kMaxChars) return STG_E_DOCFILECORRUPT;
  text->assign(chars, L'\0');
  return ReadBytes(s, text->data(), chars * sizeof(wchar_t));
}

}  // namespace

HRESULT StreamPropertyBag::Create(StreamPropertyBag** out) {
  *out = new (std::nothrow) StreamPropertyBag();
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT StreamPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  for (const auto& [key, stored] : values_) {
    if (key != name) continue;
    VARTYPE wanted = V_VT(value);
    VariantInit(value);
    if (wanted == VT_EMPTY || wanted == stored.Type()) return stored.CopyTo(value);
    return VariantChangeType(value, const_cast<VARIANT*>(stored.Ptr()), 0, wanted);
  }
  return E_INVALIDARG;
}

HRESULT StreamPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  switch (V_VT(value)) {
    case VT_BOOL: case VT_I2: case VT_I4: case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN:
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  values_.emplace_back(name, com::Variant(*value));
  return S_OK;
}

HRESULT StreamPropertyBag::SaveTo(IStream* s) const {
  DWORD header[2] = {kMagic, static_cast<DWORD>(values_.size())};
  RETURN_IF_FAILED(WriteBytes(s, header, sizeof(header)));
  for (const auto& [name, value] : values_) {
    RETURN_IF_FAILED(WriteText(s, name.data(), static_cast<DWORD>(name.size())));
    VARTYPE vt = value.Type();
    RETURN_IF_FAILED(WriteBytes(s, &vt, sizeof(vt)));
    const VARIANT& v = value.Get();
    switch (vt) {
      case VT_BOOL: RETURN_IF_FAILED(WriteBytes(s, &V_BOOL(&v), sizeof(VARIANT_BOOL))); break;
      case VT_I2: RETURN_IF_FAILED(WriteBytes(s, &V_I2(&v), sizeof(SHORT))); break;
      case VT_I4: RETURN_IF_FAILED(WriteBytes(s, &V_I4(&v), sizeof(LONG))); break;
      case VT_BSTR:
        RETURN_IF_FAILED(WriteText(s, V_BSTR(&v) ? V_BSTR(&v) : L"", SysStringLen(V_BSTR(&v))));
        break;
      default: {  // an object: its class and its own stream data
        com::ComPtr<IPersistStream> persist;
        RETURN_IF_FAILED(V_UNKNOWN(&v)->QueryInterface(IID_IPersistStream, persist.ReceiveVoid()));
        RETURN_IF_FAILED(OleSaveToStream(persist.Get(), s));
      }
    }
  }
  return S_OK;
}

HRESULT StreamPropertyBag::LoadFrom(IStream* s) {
  DWORD header[2] = {};
  RETURN_IF_FAILED(ReadBytes(s, header, sizeof(header)));
  if (header[0] != kMagic || header[1] > kMaxCount) return STG_E_DOCFILECORRUPT;
  values_.clear();
  for (DWORD i = 0; i < header[1]; ++i) {
    std::wstring name;
    RETURN_IF_FAILED(ReadText(s, &name));
    VARTYPE vt = VT_EMPTY;
    RETURN_IF_FAILED(ReadBytes(s, &vt, sizeof(vt)));
    com::Variant value;
    VARIANT* v = value.Ptr();
    switch (vt) {
      case VT_BOOL: RETURN_IF_FAILED(ReadBytes(s, &V_BOOL(v), sizeof(VARIANT_BOOL))); break;
      case VT_I2: RETURN_IF_FAILED(ReadBytes(s, &V_I2(v), sizeof(SHORT))); break;
      case VT_I4: RETURN_IF_FAILED(ReadBytes(s, &V_I4(v), sizeof(LONG))); break;
      case VT_BSTR: {
        std::wstring text;
        RETURN_IF_FAILED(ReadText(s, &text));
        value = com::Variant::Str(text);
        break;
      }
      case VT_DISPATCH:
      case VT_UNKNOWN: {
        void* object = nullptr;
        RETURN_IF_FAILED(
            OleLoadFromStream(s, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &object));
        V_VT(v) = vt;
        V_UNKNOWN(v) = static_cast<IUnknown*>(object);
        break;
      }
      default:
        return STG_E_DOCFILECORRUPT;
    }
    if (vt != VT_BSTR) V_VT(v) = vt;
    values_.emplace_back(std::move(name), std::move(value));
  }
  return S_OK;
}

}  // namespace pelorin

#include "xml_lite.h"

#include <shlwapi.h>

#include "com_ptr.h"
#include "hresult.h"

namespace standin {
namespace {

using CreateFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

FARPROC XmlLiteProc(const char* name) {
  static HMODULE module = LoadLibraryW(L"xmllite.dll");
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace

HRESULT CreateXmlReaderOver(const std::string& xml, IXmlReader** reader) {
  auto create = reinterpret_cast<CreateFn>(XmlLiteProc("CreateXmlReader"));
  if (!create) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  auto stream = com::ComPtr<IStream>::Adopt(SHCreateMemStream(
      reinterpret_cast<const BYTE*>(xml.data()), static_cast<UINT>(xml.size())));
  if (!stream) return E_OUTOFMEMORY;
  com::ComPtr<IXmlReader> r;
  RETURN_IF_FAILED(create(__uuidof(IXmlReader), r.ReceiveVoid(), nullptr));
  RETURN_IF_FAILED(r->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit));
  RETURN_IF_FAILED(r->SetInput(stream.Get()));
  *reader = r.Detach();
  return S_OK;
}

HRESULT CreateXmlWriterInto(IStream** stream, IXmlWriter** writer) {
  auto create = reinterpret_cast<CreateFn>(XmlLiteProc("CreateXmlWriter"));
  if (!create) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  auto s = com::ComPtr<IStream>::Adopt(SHCreateMemStream(nullptr, 0));
  if (!s) return E_OUTOFMEMORY;
  com::ComPtr<IXmlWriter> w;
  RETURN_IF_FAILED(create(__uuidof(IXmlWriter), w.ReceiveVoid(), nullptr));
  RETURN_IF_FAILED(w->SetOutput(s.Get()));
  *stream = s.Detach();
  *writer = w.Detach();
  return S_OK;
}

std::string StreamBytes(IStream* stream) {
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return {};
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (!bytes.empty()) stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

}  // namespace standin

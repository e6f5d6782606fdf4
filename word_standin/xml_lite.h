// XmlLite's reader and writer, from the system's xmllite.dll (the toolchain has the header but
// no import library).
#pragma once
#include <windows.h>
#include <xmllite.h>

#include <string>

namespace standin {

// A reader over `xml` (the bytes of one part) with DTDs refused.
HRESULT CreateXmlReaderOver(const std::string& xml, IXmlReader** reader);
// A writer into a memory stream; `stream` receives the bytes.
HRESULT CreateXmlWriterInto(IStream** stream, IXmlWriter** writer);
// The bytes written into a stream from CreateXmlWriterInto.
std::string StreamBytes(IStream* stream);

}  // namespace standin

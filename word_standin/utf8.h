// UTF-8, as the journal and the package's XML parts are written.
#pragma once
#include <string>

namespace standin {

std::string Utf8(const std::wstring& s);

}  // namespace standin

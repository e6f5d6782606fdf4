#include "type_library_facts.h"

#include "bstr.h"

namespace testing_support {

LibraryFacts ReadLibraryFacts(ITypeLib* lib) {
  LibraryFacts facts;
  TLIBATTR* attr = nullptr;
  if (FAILED(lib->GetLibAttr(&attr))) return facts;
  facts.guid = attr->guid;
  facts.major = attr->wMajorVerNum;
  facts.minor = attr->wMinorVerNum;
  facts.lcid = attr->lcid;
  facts.syskind = attr->syskind;
  lib->ReleaseTLibAttr(attr);
  com::Bstr name, help;
  if (SUCCEEDED(lib->GetDocumentation(-1, name.Receive(), help.Receive(), nullptr, nullptr))) {
    facts.name = name.Str();
    facts.help = help.Str();
  }
  return facts;
}

std::wstring MemberName(ITypeInfo* info, MEMBERID id) {
  com::Bstr name;
  if (FAILED(info->GetDocumentation(id, name.Receive(), nullptr, nullptr, nullptr))) return {};
  return name.Str();
}

}  // namespace testing_support

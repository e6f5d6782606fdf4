// What a type library says of itself and of its members, for the tests of binary contracts.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace testing_support {

struct LibraryFacts {
  GUID guid{};
  WORD major = 0;
  WORD minor = 0;
  LCID lcid = 0;
  SYSKIND syskind = SYS_WIN32;
  std::wstring name;
  std::wstring help;
};

// All zero and empty when the library cannot be read.
LibraryFacts ReadLibraryFacts(ITypeLib* lib);

// The name of a member, or of the type itself with MEMBERID_NIL; empty when there is none.
std::wstring MemberName(ITypeInfo* info, MEMBERID id);

}  // namespace testing_support

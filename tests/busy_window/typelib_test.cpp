// The binary contract of Halvane.exe that existing clients were compiled against: identities,
// flags, DISPIDs and slots of its type library, its registration and its version block.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "com_ptr.h"
#include "com_test_env.h"
#include "lullpane_client.h"
#include "type_library_facts.h"

namespace busy_window_test {
namespace {

using com::ComPtr;
using testing_support::BinDir;
using testing_support::LibraryFacts;
using testing_support::MemberName;
using testing_support::ReadLibraryFacts;
using testing_support::Utf8;

const GUID kLibId = {0x707FAE9C, 0x07BC, 0x4D20, {0x93, 0x6E, 0xA2, 0x67, 0xC4, 0x64, 0xAC, 0x92}};

class HalvaneTypeLibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(
        LoadTypeLibEx((BinDir() + L"Halvane.exe").c_str(), REGKIND_NONE, lib_.Receive()));
  }

  ComPtr<ITypeInfo> Info(const GUID& guid) {
    ComPtr<ITypeInfo> info;
    EXPECT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(guid, info.Receive()));
    return info;
  }

  testing_support::ComApartment apartment_;
  ComPtr<ITypeLib> lib_;
};

TEST_F(HalvaneTypeLibTest, LibraryIdentityAndJapaneseHelpString) {
  const LibraryFacts lib = ReadLibraryFacts(lib_.Get());
  EXPECT_TRUE(IsEqualGUID(lib.guid, kLibId));
  EXPECT_EQ(lib.major, 1);
  EXPECT_EQ(lib.minor, 0);
  EXPECT_EQ(lib.name, L"Halvane");
  EXPECT_EQ(Utf8(lib.help), Utf8(L"Word出力中に表示する処理中ウィンドウ"));
}

TEST_F(HalvaneTypeLibTest, CoclassIsCreatableWithDefaultAndSourceInterfaces) {
  ComPtr<ITypeInfo> coclass = Info(kClsid);
  ASSERT_TRUE(coclass);
  EXPECT_EQ(MemberName(coclass.Get(), MEMBERID_NIL), L"clsLullpane");
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FCANCREATE);
  ASSERT_EQ(attr->cImplTypes, 2);
  coclass->ReleaseTypeAttr(attr);

  struct Impl { GUID iid; INT flags; };
  const Impl expected[] = {{kIid, IMPLTYPEFLAG_FDEFAULT},
                           {kEventsIid, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 2; ++i) {
    HREFTYPE ref = 0;
    INT flags = 0;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref));
    ASSERT_HRESULT_SUCCEEDED(coclass->GetImplTypeFlags(i, &flags));
    ComPtr<ITypeInfo> impl;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeInfo(ref, impl.Receive()));
    TYPEATTR* a = nullptr;
    ASSERT_HRESULT_SUCCEEDED(impl->GetTypeAttr(&a));
    EXPECT_TRUE(IsEqualGUID(a->guid, expected[i].iid)) << i;
    impl->ReleaseTypeAttr(a);
    EXPECT_EQ(flags, expected[i].flags) << i;
  }
}

TEST_F(HalvaneTypeLibTest, DualInterfaceMembersSlotsAndDispids) {
  // A dual interface is found as its dispatch view; the vtable view holds the slots.
  ComPtr<ITypeInfo> dispatch = Info(kIid);
  ASSERT_TRUE(dispatch);
  EXPECT_EQ(MemberName(dispatch.Get(), MEMBERID_NIL), L"_clsLullpane");
  HREFTYPE vtable_ref = 0;
  ASSERT_HRESULT_SUCCEEDED(dispatch->GetRefTypeOfImplType(-1, &vtable_ref));
  ComPtr<ITypeInfo> iface;
  ASSERT_HRESULT_SUCCEEDED(dispatch->GetRefTypeInfo(vtable_ref, iface.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(iface->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN),
            TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN);
  ASSERT_EQ(attr->cFuncs, 2);
  iface->ReleaseTypeAttr(attr);

  struct Member { const wchar_t* name; MEMBERID id; SHORT params; };
  const Member members[] = {{L"StartAnime", 0x60030000, 1}, {L"StopAnime", 0x60030001, 0}};
  for (UINT i = 0; i < 2; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_HRESULT_SUCCEEDED(iface->GetFuncDesc(i, &f));
    EXPECT_EQ(MemberName(iface.Get(), f->memid), members[i].name);
    EXPECT_EQ(f->memid, members[i].id);
    EXPECT_EQ(f->invkind, INVOKE_FUNC);
    EXPECT_EQ(f->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));  // after IDispatch
    EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);
    ASSERT_EQ(f->cParams, members[i].params);
    if (f->cParams == 1) {
      EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_I4);
      EXPECT_EQ(f->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FIN);
      BSTR names[2] = {};
      UINT count = 0;
      ASSERT_HRESULT_SUCCEEDED(iface->GetNames(f->memid, names, 2, &count));
      ASSERT_EQ(count, 2u);
      EXPECT_STREQ(names[1], L"hWnd");
      SysFreeString(names[0]);
      SysFreeString(names[1]);
    }
    iface->ReleaseFuncDesc(f);
  }
}

TEST_F(HalvaneTypeLibTest, EventDispinterfaceHasOnCancelButtonClicked) {
  ComPtr<ITypeInfo> events = Info(kEventsIid);
  ASSERT_TRUE(events);
  EXPECT_EQ(MemberName(events.Get(), MEMBERID_NIL), L"__clsLullpane");
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(events->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FHIDDEN, 0);
  EXPECT_EQ(attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
  const WORD funcs = attr->cFuncs;
  events->ReleaseTypeAttr(attr);
  // A dispinterface lists the IDispatch members before its own.
  bool found = false;
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_HRESULT_SUCCEEDED(events->GetFuncDesc(i, &f));
    if (MemberName(events.Get(), f->memid) == L"OnCancelButtonClicked") {
      found = true;
      EXPECT_EQ(f->memid, 1);
      EXPECT_EQ(f->cParams, 0);
    }
    events->ReleaseFuncDesc(f);
  }
  EXPECT_TRUE(found);
}

TEST_F(HalvaneTypeLibTest, RegisteredAsLocalServerWithTypeLibrary) {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof(value);
  ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, L"Halvane.clsLullpane\\CLSID", nullptr, RRF_RT_REG_SZ,
                         nullptr, value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, L"{BD3DE365-5BBF-4558-B9C2-394C5F8907F1}");
  size = sizeof(value);
  ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT,
                         L"CLSID\\{BD3DE365-5BBF-4558-B9C2-394C5F8907F1}\\LocalServer32", nullptr,
                         RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
  EXPECT_NE(std::wstring(value).find(L"Halvane.exe"), std::wstring::npos);
  ComPtr<ITypeLib> registered;
  EXPECT_HRESULT_SUCCEEDED(LoadRegTypeLib(kLibId, 1, 0, 0, registered.Receive()));
}

TEST_F(HalvaneTypeLibTest, VersionBlockMarksSelfRegistration) {
  const std::wstring path = BinDir() + L"Halvane.exe";
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\OLESelfRegister", &value,
                             &length));
  EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\OriginalFilename", &value,
                             &length));
  EXPECT_STREQ(static_cast<const wchar_t*>(value), L"Halvane.exe");
}

}  // namespace
}  // namespace busy_window_test

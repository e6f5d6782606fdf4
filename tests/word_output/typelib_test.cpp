// Reads the type library embedded in the built Quorrel.dll and checks the binary contract
// existing clients compiled against.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "com_ptr.h"
#include "com_test_env.h"
#include "type_library_facts.h"

namespace {

using com::ComPtr;
using testing_support::BinDir;
using testing_support::LibraryFacts;
using testing_support::MemberName;
using testing_support::ReadLibraryFacts;
using testing_support::Utf8;

const GUID kLibId = {0x879858EF, 0x141A, 0x4F4B, {0x9C, 0x36, 0x35, 0x5F, 0x45, 0x52, 0x75, 0x5B}};
const GUID kClsid = {0x1712BA58, 0x531F, 0x4A73, {0xB6, 0x25, 0xAE, 0x04, 0xC6, 0xAF, 0xB7, 0xBE}};
const GUID kIid = {0xA6CBAEF8, 0x2692, 0x42EC, {0x8B, 0x11, 0x96, 0xE1, 0xD6, 0xC8, 0xFF, 0x1F}};
const GUID kEnum = {0x1DF3235F, 0x6A22, 0x4DE5, {0x9A, 0x8D, 0x18, 0xE8, 0xDB, 0x86, 0xB9, 0xA7}};
const GUID kCollection = {0xA4C46780, 0x499F, 0x101B,
                          {0xBB, 0x78, 0x00, 0xAA, 0x00, 0x38, 0x3C, 0xBB}};

constexpr VARTYPE kByRef = 0x8000;  // marks a parameter passed by reference (VT_PTR to the type)
constexpr VARTYPE kCollectionRef = 0x4000;  // VT_PTR to VT_PTR to the Collection interface

struct Param {
  const wchar_t* name;
  VARTYPE type;
};

struct Member {
  const wchar_t* name;
  INVOKEKIND kind;
  MEMBERID id;
  std::vector<Param> params;
  VARTYPE result;  // VT_EMPTY: none; else the out-and-return-value type
};

constexpr INVOKEKIND M = INVOKE_FUNC, PUT = INVOKE_PROPERTYPUT, GET = INVOKE_PROPERTYGET;

const std::vector<Member> kMembers = {
    {L"SetFieldTextBox_Before", M, 0x60030006, {{L"StFileName", VT_BSTR | kByRef}}, VT_DISPATCH},
    {L"SetFieldTextBox_After", M, 0x60030007, {{L"dc", VT_DISPATCH | kByRef}}, VT_EMPTY},
    {L"SetPageNo", M, 0x60030008, {{L"NoPoint", VT_I4 | kByRef}, {L"HFFlg", VT_I4 | kByRef}},
     VT_EMPTY},
    {L"PageSet", M, 0x60030009,
     {{L"LoTopMargin", VT_I4 | kByRef}, {L"LoBottomMargin", VT_I4 | kByRef},
      {L"LoLeftMargin", VT_I4 | kByRef}, {L"LoRightMargin", VT_I4 | kByRef},
      {L"LoHeaderDistance", VT_I4 | kByRef}, {L"LoFooterDistance", VT_I4 | kByRef},
      {L"LoPageWidth", VT_I4 | kByRef}, {L"LoPageHeight", VT_I4 | kByRef}},
     VT_EMPTY},
    {L"SetTable", M, 0x6003000A,
     {{L"CoData", kCollectionRef}, {L"LoTableNo", VT_I4 | kByRef}, {L"LoMaxIndex", VT_I4 | kByRef},
      {L"LoRow", VT_I4 | kByRef}, {L"LoStartRow", VT_I4 | kByRef},
      {L"LoMaxRubiIndex", VT_I4 | kByRef}},
     VT_EMPTY},
    {L"SetFieldText", M, 0x6003000B,
     {{L"StFieldname", VT_BSTR | kByRef}, {L"StText", VT_VARIANT | kByRef},
      {L"BoWildCard", VT_BOOL | kByRef}},
     VT_I4},
    {L"SetFieldImage", M, 0x6003000C,
     {{L"StFildname", VT_BSTR | kByRef}, {L"StImageFilename", VT_BSTR | kByRef},
      {L"DoHeight", VT_R8 | kByRef}, {L"DoWidth", VT_R8 | kByRef}},
     VT_I4},
    {L"SelectionFindforTextBox", M, 0x6003000E,
     {{L"StFieldname", VT_BSTR | kByRef}, {L"StText", VT_BSTR | kByRef}}, VT_EMPTY},
    {L"NewPage", M, 0x6003000F, {}, VT_EMPTY},
    {L"WordStart", M, 0x60030010, {}, VT_EMPTY},
    {L"WordEnd", M, 0x60030011, {}, VT_EMPTY},
    {L"LastDelete", M, 0x60030012, {}, VT_EMPTY},
    {L"ClearConversion", M, 0x60030013, {}, VT_EMPTY},
    {L"objWord", PUT, 0x68030005, {{nullptr, VT_DISPATCH}}, VT_EMPTY},
    {L"objWord", GET, 0x68030005, {}, VT_DISPATCH},
    {L"objNewWord", PUT, 0x68030004, {{nullptr, VT_DISPATCH}}, VT_EMPTY},
    {L"objNewWord", GET, 0x68030004, {}, VT_DISPATCH},
    {L"FormName", PUT, 0x68030003, {{nullptr, VT_BSTR}}, VT_EMPTY},
    {L"FormName", GET, 0x68030003, {}, VT_BSTR},
    {L"FormPath", GET, 0x68030002, {}, VT_BSTR},
    {L"FormPath", PUT, 0x68030002, {{nullptr, VT_BSTR}}, VT_EMPTY},
    {L"WordOutErr", PUT, 0x68030001, {{nullptr, VT_I4}}, VT_EMPTY},
    {L"WordOutErr", GET, 0x68030001, {}, VT_I4},
    {L"OwnerFormCaption", GET, 0x68030000, {}, VT_BSTR},
    {L"OwnerFormCaption", PUT, 0x68030000, {{nullptr, VT_BSTR}}, VT_EMPTY},
};

class QuorrelTypeLib : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(
        LoadTypeLibEx((BinDir() + L"Quorrel.dll").c_str(), REGKIND_NONE, lib_.Receive()));
  }

  // Flattens a parameter or result TYPEDESC into the codes of the table above.
  VARTYPE Code(ITypeInfo* info, const TYPEDESC& td) {
    if (td.vt != VT_PTR) return td.vt;
    const TYPEDESC& inner = *td.lptdesc;
    if (inner.vt == VT_PTR && inner.lptdesc->vt == VT_USERDEFINED) {
      ComPtr<ITypeInfo> ref;
      if (FAILED(info->GetRefTypeInfo(inner.lptdesc->hreftype, ref.Receive()))) return VT_ILLEGAL;
      TYPEATTR* attr = nullptr;
      ref->GetTypeAttr(&attr);
      bool collection = IsEqualGUID(attr->guid, kCollection);
      ref->ReleaseTypeAttr(attr);
      return collection ? kCollectionRef : static_cast<VARTYPE>(VT_ILLEGAL);
    }
    return inner.vt | kByRef;
  }

  ComPtr<ITypeLib> lib_;
};

TEST_F(QuorrelTypeLib, LibraryIdentity) {
  const LibraryFacts lib = ReadLibraryFacts(lib_.Get());
  EXPECT_TRUE(IsEqualGUID(lib.guid, kLibId));
  EXPECT_EQ(lib.major, 1);
  EXPECT_EQ(lib.minor, 0);
  EXPECT_EQ(lib.name, L"Scrivlet");
  // Stored as code page 932 bytes; reads back exactly under a Japanese locale.
  EXPECT_EQ(Utf8(lib.help), Utf8(L"Visual Basic専用\u3000ワード出力DLL"));
}

TEST_F(QuorrelTypeLib, CoclassIsCreatableAppObjectAndPredeclared) {
  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kClsid, info.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(attr->wTypeFlags, 0xB);
  EXPECT_EQ(attr->cImplTypes, 1);
  info->ReleaseTypeAttr(attr);

  EXPECT_EQ(MemberName(info.Get(), MEMBERID_NIL), L"WordPrintOut");

  INT impl_flags = 0;
  ASSERT_HRESULT_SUCCEEDED(info->GetImplTypeFlags(0, &impl_flags));
  EXPECT_EQ(impl_flags, IMPLTYPEFLAG_FDEFAULT);
  HREFTYPE href;
  ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(0, &href));
  ComPtr<ITypeInfo> iface;
  ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(href, iface.Receive()));
  ASSERT_HRESULT_SUCCEEDED(iface->GetTypeAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(attr->guid, kIid));
  iface->ReleaseTypeAttr(attr);
}

TEST_F(QuorrelTypeLib, EnumerationValues) {
  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kEnum, info.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_ENUM);
  const std::vector<std::pair<std::wstring, LONG>> expected = {
      {L"NonErr", 0}, {L"OpenErr", 1}, {L"OutCancel", 2},
      {L"VertionErr", 3}, {L"NonExistence", 4}, {L"OthersErr", 99}};
  ASSERT_EQ(attr->cVars, expected.size());
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < expected.size(); ++i) {
    VARDESC* var = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetVarDesc(i, &var));
    EXPECT_EQ(Utf8(MemberName(info.Get(), var->memid)), Utf8(expected[i].first));
    EXPECT_EQ(V_VT(var->lpvarValue), VT_I4);
    EXPECT_EQ(V_I4(var->lpvarValue), expected[i].second);
    info->ReleaseVarDesc(var);
  }
}

TEST_F(QuorrelTypeLib, InterfaceMembersInSlotOrder) {
  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kIid, info.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  // The dispatch side of a dual interface; its vtable side carries the slots.
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  const WORD wanted =
      TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(attr->wTypeFlags & wanted, wanted);
  info->ReleaseTypeAttr(attr);

  HREFTYPE href;
  ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(-1, &href));
  ComPtr<ITypeInfo> vt;
  ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(href, vt.Receive()));
  ASSERT_HRESULT_SUCCEEDED(vt->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL),
            TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL);
  ASSERT_EQ(attr->cFuncs, kMembers.size());
  vt->ReleaseTypeAttr(attr);

  for (UINT i = 0; i < kMembers.size(); ++i) {
    const Member& m = kMembers[i];
    SCOPED_TRACE(Utf8(m.name));
    FUNCDESC* f = nullptr;
    ASSERT_HRESULT_SUCCEEDED(vt->GetFuncDesc(i, &f));
    EXPECT_EQ(f->memid, m.id);
    EXPECT_EQ(f->invkind, m.kind);
    EXPECT_EQ(f->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
    EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_HRESULT);

    std::vector<BSTR> names(1 + f->cParams, nullptr);
    UINT got = 0;
    vt->GetNames(f->memid, names.data(), static_cast<UINT>(names.size()), &got);
    // Property puts name their value parameter nothing; skip comparing it.
    EXPECT_EQ(Utf8(names[0] ? names[0] : L""), Utf8(m.name));

    UINT declared = m.params.size() + (m.result == VT_EMPTY ? 0 : 1);
    ASSERT_EQ(static_cast<UINT>(f->cParams), declared);
    for (UINT p = 0; p < m.params.size(); ++p) {
      SCOPED_TRACE(p);
      EXPECT_EQ(Code(vt.Get(), f->lprgelemdescParam[p].tdesc), m.params[p].type);
      USHORT pf = f->lprgelemdescParam[p].paramdesc.wParamFlags;
      EXPECT_FALSE(pf & PARAMFLAG_FRETVAL);
      if (m.params[p].name) {
        ASSERT_LT(p + 1, got);
        EXPECT_EQ(Utf8(names[p + 1]), Utf8(m.params[p].name));
      }
    }
    if (m.result != VT_EMPTY) {
      const ELEMDESC& r = f->lprgelemdescParam[f->cParams - 1];
      EXPECT_TRUE(r.paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
      EXPECT_EQ(Code(vt.Get(), r.tdesc), m.result | kByRef);
    }
    for (BSTR b : names) SysFreeString(b);
    vt->ReleaseFuncDesc(f);
  }
}

// Registration must never touch the client run time's Collection interface.
TEST(QuorrelRegistration, RegisterAndUnregisterLeaveCollectionAlone) {
  HMODULE dll = LoadLibraryW((BinDir() + L"Quorrel.dll").c_str());
  ASSERT_NE(dll, nullptr);
  auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll, "DllRegisterServer"));
  auto unreg = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll, "DllUnregisterServer"));
  ASSERT_TRUE(reg && unreg);

  auto exists = [](const wchar_t* key) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  };
  const wchar_t kCollectionKey[] = L"Interface\\{A4C46780-499F-101B-BB78-00AA00383CBB}";
  const wchar_t kClassKey[] = L"CLSID\\{1712BA58-531F-4A73-B625-AE04C6AFB7BE}\\InprocServer32";

  EXPECT_HRESULT_SUCCEEDED(unreg());
  EXPECT_FALSE(exists(L"Scrivlet.WordPrintOut"));
  EXPECT_FALSE(exists(kClassKey));
  EXPECT_FALSE(exists(kCollectionKey));
  EXPECT_HRESULT_SUCCEEDED(reg());
  EXPECT_TRUE(exists(L"Scrivlet.WordPrintOut"));
  EXPECT_TRUE(exists(kClassKey));
  EXPECT_TRUE(exists(L"Interface\\{A6CBAEF8-2692-42EC-8B11-96E1D6C8FF1F}"));
  EXPECT_FALSE(exists(kCollectionKey));

  wchar_t model[32] = {};
  DWORD type = 0, bytes = sizeof(model);
  EXPECT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, kClassKey, L"ThreadingModel", RRF_RT_REG_SZ, &type,
                         model, &bytes), ERROR_SUCCESS);
  EXPECT_STREQ(model, L"Apartment");
  FreeLibrary(dll);
}

}  // namespace

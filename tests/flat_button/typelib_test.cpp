// Reads the type library, resources and registration of the built Pelorin.dll: the binary
// contract that containers and compiled clients rely on.
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

const GUID kLibId = {0x51721A5E, 0x01B1, 0x44BA, {0x8F, 0x73, 0x61, 0xD4, 0xAA, 0xB9, 0xB6, 0x47}};
const GUID kClsid = {0xF9B0148F, 0x877A, 0x4E2D, {0x9C, 0x02, 0x3E, 0xEA, 0xFD, 0x76, 0x6C, 0x85}};
const GUID kIid = {0x58E65FD1, 0x6AB9, 0x4945, {0x99, 0xF7, 0x05, 0xCD, 0xA7, 0xC8, 0x2E, 0x7E}};
const GUID kEvents = {0xE334893E, 0x730F, 0x497F, {0xA3, 0x07, 0x91, 0x9E, 0xE8, 0x86, 0xBE, 0xBA}};
const GUID kEnum = {0xC6CF4743, 0xE1F8, 0x4203, {0x9D, 0xA5, 0xCC, 0xC8, 0x7B, 0xE6, 0xD4, 0x5F}};
const GUID kRecord = {0x04E3C70C, 0x095D, 0x4019, {0x8A, 0x98, 0x68, 0xAF, 0xA2, 0x13, 0x74, 0x09}};
const GUID kOleColor = {0x66504301, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
const GUID kFont = {0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

std::string TypeName(ITypeInfo* info, const TYPEDESC& td) {
  switch (td.vt) {
    case VT_PTR: return TypeName(info, *td.lptdesc) + "*";
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_BOOL: return "bool";
    case VT_BSTR: return "BSTR";
    case VT_HRESULT: return "HRESULT";
    case VT_VOID: return "void";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref;
      if (FAILED(info->GetRefTypeInfo(td.hreftype, ref.Receive()))) return "?";
      ComPtr<ITypeLib> lib;
      UINT index = 0;
      ref->GetContainingTypeLib(lib.Receive(), &index);
      return Utf8(ReadLibraryFacts(lib.Get()).name) + "." +
             Utf8(MemberName(ref.Get(), MEMBERID_NIL));
    }
    default: return "vt" + std::to_string(td.vt);
  }
}

struct Member {
  const wchar_t* name;
  INVOKEKIND kind;
  MEMBERID id;
  std::string param;  // the one parameter's type, "" for none
  USHORT flags;       // its PARAMFLAGs
};

constexpr INVOKEKIND CALL = INVOKE_FUNC, GET = INVOKE_PROPERTYGET, PUT = INVOKE_PROPERTYPUT,
                     PUTREF = INVOKE_PROPERTYPUTREF;
constexpr USHORT kIn = PARAMFLAG_FIN, kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT,
                 kRet = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

const std::vector<Member> kMembers = {
    {L"Redraw", CALL, 0x6003000E, "", 0},
    {L"MarginWidth", GET, 0x6803000D, "short*", kRet},
    {L"MarginWidth", PUT, 0x6803000D, "short", kIn},
    {L"MarginHeight", GET, 0x6803000C, "short*", kRet},
    {L"MarginHeight", PUT, 0x6803000C, "short", kIn},
    {L"AutoSize", GET, 0x6803000B, "bool*", kRet},
    {L"AutoSize", PUT, 0x6803000B, "bool", kIn},
    {L"AutoRedraw", GET, 0x6803000A, "bool*", kRet},
    {L"AutoRedraw", PUT, 0x6803000A, "bool", kIn},
    {L"BorderWidth", GET, 0x68030009, "short*", kRet},
    {L"BorderWidth", PUT, 0x68030009, "short", kIn},
    {L"BorderColor", GET, 0x68030008, "stdole.OLE_COLOR*", kRet},
    {L"BorderColor", PUT, 0x68030008, "stdole.OLE_COLOR", kIn},
    {L"BorderStyle", GET, 0x68030007, "Pelorin.BorderStyle*", kRet},
    {L"BorderStyle", PUT, 0x68030007, "Pelorin.BorderStyle", kIn},
    {L"Caption", GET, 0x68030006, "BSTR*", kRet},
    {L"Caption", PUT, 0x68030006, "BSTR*", kInOut},
    {L"Enabled", GET, 0x68030005, "bool*", kRet},
    {L"Enabled", PUT, 0x68030005, "bool*", kInOut},
    {L"Font", GET, 0x68030004, "stdole.Font**", kRet},
    {L"Font", PUTREF, 0x68030004, "stdole.Font**", kInOut},
    {L"TextColor", GET, 0x68030003, "stdole.OLE_COLOR*", kRet},
    {L"TextColor", PUT, 0x68030003, "stdole.OLE_COLOR*", kInOut},
    {L"DownTextColor", GET, 0x68030002, "stdole.OLE_COLOR*", kRet},
    {L"DownTextColor", PUT, 0x68030002, "stdole.OLE_COLOR*", kInOut},
    {L"BackColor", GET, 0x68030001, "stdole.OLE_COLOR*", kRet},
    {L"BackColor", PUT, 0x68030001, "stdole.OLE_COLOR*", kInOut},
    {L"DownBackColor", GET, 0x68030000, "stdole.OLE_COLOR*", kRet},
    {L"DownBackColor", PUT, 0x68030000, "stdole.OLE_COLOR", kIn},
};

class PelorinTypeLib : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(
        LoadTypeLibEx((BinDir() + L"Pelorin.dll").c_str(), REGKIND_NONE, lib_.Receive()));
  }

  // The vtable side of the dual interface.
  ComPtr<ITypeInfo> VtableInterface() {
    ComPtr<ITypeInfo> info, vt;
    HREFTYPE href;
    if (FAILED(lib_->GetTypeInfoOfGuid(kIid, info.Receive())) ||
        FAILED(info->GetRefTypeOfImplType(-1, &href)) ||
        FAILED(info->GetRefTypeInfo(href, vt.Receive()))) {
      return nullptr;
    }
    return vt;
  }

  ComPtr<ITypeLib> lib_;
};

TEST_F(PelorinTypeLib, LibraryIdentity) {
  const LibraryFacts lib = ReadLibraryFacts(lib_.Get());
  EXPECT_TRUE(IsEqualGUID(lib.guid, kLibId));
  EXPECT_EQ(lib.major, 1);
  EXPECT_EQ(lib.minor, 0);
  EXPECT_EQ(lib.lcid, 0x409u);
  EXPECT_EQ(lib.syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  EXPECT_EQ(lib.name, L"Pelorin");
  EXPECT_EQ(lib.help, L"Pelorin");
}

TEST_F(PelorinTypeLib, ControlClassWithDefaultAndSourceInterfaces) {
  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kClsid, info.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FCONTROL | TYPEFLAG_FCANCREATE);
  ASSERT_EQ(attr->cImplTypes, 2);
  info->ReleaseTypeAttr(attr);

  const struct { GUID iid; INT flags; } impl[] = {
      {kIid, IMPLTYPEFLAG_FDEFAULT}, {kEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (UINT i = 0; i < 2; ++i) {
    INT flags = 0;
    ASSERT_HRESULT_SUCCEEDED(info->GetImplTypeFlags(i, &flags));
    EXPECT_EQ(flags, impl[i].flags);
    HREFTYPE href;
    ComPtr<ITypeInfo> ref;
    ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(i, &href));
    ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(href, ref.Receive()));
    ASSERT_HRESULT_SUCCEEDED(ref->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(attr->guid, impl[i].iid)) << i;
    ref->ReleaseTypeAttr(attr);
  }
}

TEST_F(PelorinTypeLib, InterfaceMembersInSlotOrder) {
  ComPtr<ITypeInfo> disp;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kIid, disp.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(disp->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  const WORD wanted = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE;
  EXPECT_EQ(attr->wTypeFlags & wanted, wanted);
  disp->ReleaseTypeAttr(attr);

  ComPtr<ITypeInfo> vt = VtableInterface();
  ASSERT_TRUE(vt);
  ASSERT_HRESULT_SUCCEEDED(vt->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  ASSERT_EQ(attr->cFuncs, kMembers.size());
  vt->ReleaseTypeAttr(attr);

  for (UINT i = 0; i < kMembers.size(); ++i) {
    const Member& m = kMembers[i];
    SCOPED_TRACE(Utf8(m.name) + " " + std::to_string(m.kind));
    FUNCDESC* f = nullptr;
    ASSERT_HRESULT_SUCCEEDED(vt->GetFuncDesc(i, &f));
    EXPECT_EQ(f->memid, m.id);
    EXPECT_EQ(f->invkind, m.kind);
    EXPECT_EQ(f->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
    EXPECT_EQ(TypeName(vt.Get(), f->elemdescFunc.tdesc), "HRESULT");
    EXPECT_EQ(Utf8(MemberName(vt.Get(), f->memid)), Utf8(m.name));
    ASSERT_EQ(f->cParams, m.param.empty() ? 0 : 1);
    if (f->cParams == 1) {
      EXPECT_EQ(TypeName(vt.Get(), f->lprgelemdescParam[0].tdesc), m.param);
      EXPECT_EQ(f->lprgelemdescParam[0].paramdesc.wParamFlags, m.flags);
    }
    vt->ReleaseFuncDesc(f);
  }
}

// Property browsers recognise colours and fonts by these exact type infos.
TEST_F(PelorinTypeLib, ColourAndFontReferToStdoleTypes) {
  ComPtr<ITypeInfo> vt = VtableInterface();
  ASSERT_TRUE(vt);
  auto referenced = [&](UINT index, bool pointer_to_pointer) {
    FUNCDESC* f = nullptr;
    GUID guid = GUID_NULL;
    TYPEKIND kind = TKIND_MAX;
    if (FAILED(vt->GetFuncDesc(index, &f))) return std::make_pair(guid, kind);
    const TYPEDESC* td = f->lprgelemdescParam[0].tdesc.lptdesc;  // the get's out pointer
    if (pointer_to_pointer) td = td->lptdesc;
    ComPtr<ITypeInfo> ref;
    if (td->vt == VT_USERDEFINED && SUCCEEDED(vt->GetRefTypeInfo(td->hreftype, ref.Receive()))) {
      TYPEATTR* attr = nullptr;
      ref->GetTypeAttr(&attr);
      guid = attr->guid;
      kind = attr->typekind;
      ref->ReleaseTypeAttr(attr);
    }
    vt->ReleaseFuncDesc(f);
    return std::make_pair(guid, kind);
  };
  auto color = referenced(11, false);  // get BorderColor
  EXPECT_TRUE(IsEqualGUID(color.first, kOleColor));
  EXPECT_EQ(color.second, TKIND_ALIAS);
  auto font = referenced(19, true);  // get Font
  EXPECT_TRUE(IsEqualGUID(font.first, kFont));
  EXPECT_EQ(font.second, TKIND_DISPATCH);
}

TEST_F(PelorinTypeLib, ClickEvent) {
  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kEvents, info.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FHIDDEN);
  info->ReleaseTypeAttr(attr);
  MEMBERID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"Click");
  ASSERT_HRESULT_SUCCEEDED(info->GetIDsOfNames(&name, 1, &id));
  EXPECT_EQ(id, 1);
}

TEST_F(PelorinTypeLib, BorderStyleAndPointApi) {
  ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kEnum, info.Receive()));
  const wchar_t* names[] = {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot",
                            L"psNull"};
  for (UINT i = 0; i < 6; ++i) {
    VARDESC* var = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetVarDesc(i, &var));
    EXPECT_EQ(MemberName(info.Get(), var->memid), names[i]);
    EXPECT_EQ(V_I4(var->lpvarValue), static_cast<LONG>(i));
    info->ReleaseVarDesc(var);
  }

  ASSERT_HRESULT_SUCCEEDED(lib_->GetTypeInfoOfGuid(kRecord, info.Receive()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_RECORD);
  EXPECT_EQ(attr->cbSizeInstance, 8u);
  info->ReleaseTypeAttr(attr);
  const wchar_t* fields[] = {L"x", L"y"};
  for (UINT i = 0; i < 2; ++i) {
    VARDESC* var = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetVarDesc(i, &var));
    EXPECT_EQ(MemberName(info.Get(), var->memid), fields[i]);
    EXPECT_EQ(var->elemdescVar.tdesc.vt, VT_I4);
    EXPECT_EQ(var->oInst, i * 4);
    info->ReleaseVarDesc(var);
  }
}

TEST(PelorinResources, ToolboxBitmapAndSelfRegistrationMark) {
  const std::wstring path = BinDir() + L"Pelorin.dll";
  HMODULE dll = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(dll, nullptr);
  HRSRC res = FindResourceW(dll, MAKEINTRESOURCEW(30000), reinterpret_cast<LPCWSTR>(RT_BITMAP));
  ASSERT_NE(res, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(dll, res)));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 16);
  EXPECT_EQ(header->biHeight, 15);
  EXPECT_EQ(header->biBitCount, 4);
  FreeLibrary(dll);

  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\OLESelfRegister", &value,
                             &length));
}

TEST(PelorinRegistration, ControlKeys) {
  HMODULE dll = LoadLibraryW((BinDir() + L"Pelorin.dll").c_str());
  ASSERT_NE(dll, nullptr);
  auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll, "DllRegisterServer"));
  ASSERT_TRUE(reg);
  ASSERT_HRESULT_SUCCEEDED(reg());
  const std::wstring key = L"CLSID\\{F9B0148F-877A-4E2D-9C02-3EEAFD766C85}";
  auto text = [](const std::wstring& k, const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(buffer);
    if (RegGetValueW(HKEY_CLASSES_ROOT, k.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                     &bytes) != ERROR_SUCCESS) {
      return std::wstring(L"<missing>");
    }
    return std::wstring(buffer);
  };
  EXPECT_EQ(text(key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(text(key + L"\\Control", nullptr), L"");
  EXPECT_EQ(text(key + L"\\ProgID", nullptr), L"Pelorin.TavFlatBtn");
  std::wstring toolbox = text(key + L"\\ToolboxBitmap32", nullptr);
  EXPECT_EQ(toolbox.substr(toolbox.size() - 7), L", 30000");
  EXPECT_NE(text(key + L"\\MiscStatus\\1", nullptr), L"<missing>");
  EXPECT_EQ(text(L"Pelorin.TavFlatBtn\\CLSID", nullptr),
            L"{F9B0148F-877A-4E2D-9C02-3EEAFD766C85}");
  FreeLibrary(dll);
}

}  // namespace

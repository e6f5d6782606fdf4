// Build-time tool: writes the Pelorin type library with ICreateTypeLib2.
// widl stores OLE_COLOR as a bare unsigned long and reaches the font type only through stdole's
// IFontDisp alias, whose GUID is empty; property browsers look for the OLE_COLOR alias and the
// Font dispinterface themselves, so this library refers to both in stdole2.tlb directly.
// The members and slot order must match pelorin.idl, which declares them for C++.
//
// usage: make_typelib.exe OUTPUT.tlb   (the library's system kind is this tool's bitness)
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "com_ptr.h"
#include "hresult.h"

namespace {

using com::ComPtr;

const GUID kLibId = {0x51721A5E, 0x01B1, 0x44BA, {0x8F, 0x73, 0x61, 0xD4, 0xAA, 0xB9, 0xB6, 0x47}};
const GUID kClsid = {0xF9B0148F, 0x877A, 0x4E2D, {0x9C, 0x02, 0x3E, 0xEA, 0xFD, 0x76, 0x6C, 0x85}};
const GUID kIid = {0x58E65FD1, 0x6AB9, 0x4945, {0x99, 0xF7, 0x05, 0xCD, 0xA7, 0xC8, 0x2E, 0x7E}};
const GUID kEventsIid = {0xE334893E, 0x730F, 0x497F,
                         {0xA3, 0x07, 0x91, 0x9E, 0xE8, 0x86, 0xBE, 0xBA}};
const GUID kBorderStyle = {0xC6CF4743, 0xE1F8, 0x4203,
                           {0x9D, 0xA5, 0xCC, 0xC8, 0x7B, 0xE6, 0xD4, 0x5F}};
const GUID kPointApi = {0x04E3C70C, 0x095D, 0x4019, {0x8A, 0x98, 0x68, 0xAF, 0xA2, 0x13, 0x74, 0x09}};
const GUID kOleColor = {0x66504301, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
const GUID kFontDisp = {0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

// The value types a member of _TavFlatBtn uses.
enum class Type { None, I2, Bool, Bstr, Color, Style, Font };

struct Member {
  const wchar_t* name;
  MEMBERID id;
  INVOKEKIND kind;
  Type type;      // of the get's result or the put's argument
  bool by_ref;    // put argument passed as an in/out pointer
};

constexpr INVOKEKIND GET = INVOKE_PROPERTYGET, PUT = INVOKE_PROPERTYPUT,
                     PUTREF = INVOKE_PROPERTYPUTREF, CALL = INVOKE_FUNC;

const Member kMembers[] = {
    {L"Redraw", 0x6003000E, CALL, Type::None, false},
    {L"MarginWidth", 0x6803000D, GET, Type::I2, false},
    {L"MarginWidth", 0x6803000D, PUT, Type::I2, false},
    {L"MarginHeight", 0x6803000C, GET, Type::I2, false},
    {L"MarginHeight", 0x6803000C, PUT, Type::I2, false},
    {L"AutoSize", 0x6803000B, GET, Type::Bool, false},
    {L"AutoSize", 0x6803000B, PUT, Type::Bool, false},
    {L"AutoRedraw", 0x6803000A, GET, Type::Bool, false},
    {L"AutoRedraw", 0x6803000A, PUT, Type::Bool, false},
    {L"BorderWidth", 0x68030009, GET, Type::I2, false},
    {L"BorderWidth", 0x68030009, PUT, Type::I2, false},
    {L"BorderColor", 0x68030008, GET, Type::Color, false},
    {L"BorderColor", 0x68030008, PUT, Type::Color, false},
    {L"BorderStyle", 0x68030007, GET, Type::Style, false},
    {L"BorderStyle", 0x68030007, PUT, Type::Style, false},
    {L"Caption", 0x68030006, GET, Type::Bstr, false},
    {L"Caption", 0x68030006, PUT, Type::Bstr, true},
    {L"Enabled", 0x68030005, GET, Type::Bool, false},
    {L"Enabled", 0x68030005, PUT, Type::Bool, true},
    {L"Font", 0x68030004, GET, Type::Font, false},
    {L"Font", 0x68030004, PUTREF, Type::Font, true},
    {L"TextColor", 0x68030003, GET, Type::Color, false},
    {L"TextColor", 0x68030003, PUT, Type::Color, true},
    {L"DownTextColor", 0x68030002, GET, Type::Color, false},
    {L"DownTextColor", 0x68030002, PUT, Type::Color, true},
    {L"BackColor", 0x68030001, GET, Type::Color, false},
    {L"BackColor", 0x68030001, PUT, Type::Color, true},
    {L"DownBackColor", 0x68030000, GET, Type::Color, false},
    {L"DownBackColor", 0x68030000, PUT, Type::Color, false},
};

// References into stdole2.tlb and to the library's own enumeration, as seen from one type info.
struct Refs {
  HREFTYPE ole_color;
  HREFTYPE font;
  HREFTYPE style;
};

// Fills `td` (and the nodes it points to, kept in `nodes`) for a value of `type`.
void Describe(Type type, const Refs& refs, TYPEDESC* td, std::vector<TYPEDESC>* nodes) {
  switch (type) {
    case Type::I2: td->vt = VT_I2; break;
    case Type::Bool: td->vt = VT_BOOL; break;
    case Type::Bstr: td->vt = VT_BSTR; break;
    case Type::Color: td->vt = VT_USERDEFINED; td->hreftype = refs.ole_color; break;
    case Type::Style: td->vt = VT_USERDEFINED; td->hreftype = refs.style; break;
    case Type::Font: {
      // Font* : a pointer to the dispinterface.
      td->vt = VT_PTR;
      nodes->push_back({});
      TYPEDESC& inner = nodes->back();
      inner.vt = VT_USERDEFINED;
      inner.hreftype = refs.font;
      td->lptdesc = &inner;
      break;
    }
    case Type::None: td->vt = VT_EMPTY; break;
  }
}

HRESULT AddMember(ICreateTypeInfo* info, UINT index, const Member& m, const Refs& refs) {
  // Nodes must not move while FUNCDESC points at them.
  std::vector<TYPEDESC> nodes;
  nodes.reserve(8);
  TYPEDESC value{};
  Describe(m.type, refs, &value, &nodes);

  ELEMDESC param{};
  TYPEDESC pointer{};
  FUNCDESC f{};
  f.memid = m.id;
  f.funckind = FUNC_PUREVIRTUAL;
  f.invkind = m.kind;
  f.callconv = CC_STDCALL;
  f.elemdescFunc.tdesc.vt = VT_HRESULT;
  f.lprgelemdescParam = &param;
  if (m.kind == GET) {
    pointer.vt = VT_PTR;
    pointer.lptdesc = &value;
    param.tdesc = pointer;
    param.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
    f.cParams = 1;
  } else if (m.kind != CALL) {
    if (m.by_ref) {
      pointer.vt = VT_PTR;
      pointer.lptdesc = &value;
      param.tdesc = pointer;
      param.paramdesc.wParamFlags = PARAMFLAG_FIN | PARAMFLAG_FOUT;
    } else {
      param.tdesc = value;
      param.paramdesc.wParamFlags = PARAMFLAG_FIN;
    }
    f.cParams = 1;
  }
  RETURN_IF_FAILED(info->AddFuncDesc(index, &f));
  // A put's value parameter has no name; a get's result is named.
  LPOLESTR names[2] = {const_cast<LPOLESTR>(m.name), const_cast<LPOLESTR>(L"ret")};
  UINT count = m.kind == GET ? 2 : 1;
  return info->SetFuncAndParamNames(index, names, count);
}

HRESULT CreateInfo(ICreateTypeLib2* lib, const wchar_t* name, TYPEKIND kind, REFGUID guid,
                   UINT flags, ComPtr<ICreateTypeInfo>* out) {
  RETURN_IF_FAILED(lib->CreateTypeInfo(const_cast<LPOLESTR>(name), kind, out->Receive()));
  RETURN_IF_FAILED((*out)->SetGuid(guid));
  RETURN_IF_FAILED((*out)->SetVersion(1, 0));
  return (*out)->SetTypeFlags(flags);
}

HRESULT AddBorderStyle(ICreateTypeLib2* lib, ComPtr<ICreateTypeInfo>* out) {
  RETURN_IF_FAILED(CreateInfo(lib, L"BorderStyle", TKIND_ENUM, kBorderStyle, 0, out));
  const wchar_t* names[] = {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot",
                            L"psNull"};
  for (UINT i = 0; i < 6; ++i) {
    VARIANT value;
    V_VT(&value) = VT_I4;
    V_I4(&value) = static_cast<LONG>(i);
    VARDESC v{};
    v.memid = static_cast<MEMBERID>(MEMBERID_NIL);
    v.lpvarValue = &value;
    v.elemdescVar.tdesc.vt = VT_I4;
    v.varkind = VAR_CONST;
    RETURN_IF_FAILED((*out)->AddVarDesc(i, &v));
    RETURN_IF_FAILED((*out)->SetVarName(i, const_cast<LPOLESTR>(names[i])));
  }
  return S_OK;
}

HRESULT AddPointApi(ICreateTypeLib2* lib) {
  ComPtr<ICreateTypeInfo> info;
  RETURN_IF_FAILED(CreateInfo(lib, L"POINTAPI", TKIND_RECORD, kPointApi, 0, &info));
  const wchar_t* names[] = {L"x", L"y"};
  for (UINT i = 0; i < 2; ++i) {
    VARDESC v{};
    v.memid = static_cast<MEMBERID>(MEMBERID_NIL);
    v.oInst = i * sizeof(LONG);
    v.elemdescVar.tdesc.vt = VT_I4;
    v.varkind = VAR_PERINSTANCE;
    RETURN_IF_FAILED(info->AddVarDesc(i, &v));
    RETURN_IF_FAILED(info->SetVarName(i, const_cast<LPOLESTR>(names[i])));
  }
  return info->SetAlignment(4);
}

// Wine's type library writer leaves a record's instance size at 0; a client that declares a
// POINTAPI would get no storage. Sets the size in the saved file (MSFT format: header, type
// info offsets, segment directory; the size is at 0x50 of a type info's base record).
HRESULT SetRecordSize(const wchar_t* path, REFGUID guid, DWORD size) {
  FILE* file = _wfopen(path, L"r+b");
  if (!file) return HRESULT_FROM_WIN32(ERROR_OPEN_FAILED);
  std::vector<unsigned char> data;
  unsigned char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof(chunk), file)) > 0;) {
    data.insert(data.end(), chunk, chunk + n);
  }
  auto at = [&](size_t offset) {
    LONG v = 0;
    if (offset + 4 <= data.size()) memcpy(&v, &data[offset], 4);
    return v;
  };
  constexpr size_t kHeaderSize = 0x54, kHelpDllFlag = 0x100, kSegmentEntry = 16;
  constexpr size_t kTypeInfoSegment = 0, kGuidSegment = 5;
  constexpr size_t kPosGuid = 0x2C, kSize = 0x50;
  HRESULT hr = TYPE_E_ELEMENTNOTFOUND;
  if (data.size() >= kHeaderSize && memcmp(data.data(), "MSFT", 4) == 0) {
    const LONG count = at(0x20);
    size_t pos = kHeaderSize + ((at(0x14) & kHelpDllFlag) ? 4 : 0);
    const size_t offsets = pos;
    const size_t segments = offsets + 4 * static_cast<size_t>(count);
    const size_t info_base = at(segments + kTypeInfoSegment * kSegmentEntry);
    const size_t guid_base = at(segments + kGuidSegment * kSegmentEntry);
    for (LONG i = 0; i < count; ++i) {
      const size_t info = info_base + at(offsets + 4 * i);
      const LONG posguid = at(info + kPosGuid);
      if (posguid < 0 || guid_base + posguid + sizeof(GUID) > data.size()) continue;
      if (memcmp(&data[guid_base + posguid], &guid, sizeof(GUID)) != 0) continue;
      fseek(file, static_cast<long>(info + kSize), SEEK_SET);
      hr = fwrite(&size, 4, 1, file) == 1 ? S_OK : STG_E_WRITEFAULT;
      break;
    }
  }
  if (fclose(file) != 0 && SUCCEEDED(hr)) hr = STG_E_WRITEFAULT;
  return hr;
}

HRESULT AddInterface(ICreateTypeLib2* lib, ITypeLib* stdole, ICreateTypeInfo* style,
                     ComPtr<ICreateTypeInfo>* out) {
  RETURN_IF_FAILED(CreateInfo(lib, L"_TavFlatBtn", TKIND_INTERFACE, kIid,
                              TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                                  TYPEFLAG_FOLEAUTOMATION,
                              out));
  ICreateTypeInfo* info = out->Get();
  ComPtr<ITypeInfo> dispatch, color, font, style_info;
  RETURN_IF_FAILED(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.Receive()));
  RETURN_IF_FAILED(stdole->GetTypeInfoOfGuid(kOleColor, color.Receive()));
  RETURN_IF_FAILED(stdole->GetTypeInfoOfGuid(kFontDisp, font.Receive()));
  RETURN_IF_FAILED(style->QueryInterface(IID_ITypeInfo, style_info.ReceiveVoid()));

  HREFTYPE base;
  RETURN_IF_FAILED(info->AddRefTypeInfo(dispatch.Get(), &base));
  RETURN_IF_FAILED(info->AddImplType(0, base));
  Refs refs{};
  RETURN_IF_FAILED(info->AddRefTypeInfo(color.Get(), &refs.ole_color));
  RETURN_IF_FAILED(info->AddRefTypeInfo(font.Get(), &refs.font));
  RETURN_IF_FAILED(info->AddRefTypeInfo(style_info.Get(), &refs.style));
  UINT index = 0;
  for (const Member& m : kMembers) RETURN_IF_FAILED(AddMember(info, index++, m, refs));
  return S_OK;
}

HRESULT AddEvents(ICreateTypeLib2* lib, ITypeLib* stdole, ComPtr<ICreateTypeInfo>* out) {
  RETURN_IF_FAILED(CreateInfo(lib, L"__TavFlatBtn", TKIND_DISPATCH, kEventsIid, TYPEFLAG_FHIDDEN,
                              out));
  ComPtr<ITypeInfo> dispatch;
  RETURN_IF_FAILED(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.Receive()));
  HREFTYPE base;
  RETURN_IF_FAILED((*out)->AddRefTypeInfo(dispatch.Get(), &base));
  RETURN_IF_FAILED((*out)->AddImplType(0, base));
  FUNCDESC f{};
  f.memid = 1;
  f.funckind = FUNC_DISPATCH;
  f.invkind = INVOKE_FUNC;
  f.callconv = CC_STDCALL;
  f.elemdescFunc.tdesc.vt = VT_VOID;
  RETURN_IF_FAILED((*out)->AddFuncDesc(0, &f));
  LPOLESTR name = const_cast<LPOLESTR>(L"Click");
  return (*out)->SetFuncAndParamNames(0, &name, 1);
}

HRESULT AddCoclass(ICreateTypeLib2* lib, ICreateTypeInfo* iface, ICreateTypeInfo* events) {
  ComPtr<ICreateTypeInfo> info;
  RETURN_IF_FAILED(CreateInfo(lib, L"TavFlatBtn", TKIND_COCLASS, kClsid,
                              TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, &info));
  ComPtr<ITypeInfo> iface_info, events_info;
  RETURN_IF_FAILED(iface->QueryInterface(IID_ITypeInfo, iface_info.ReceiveVoid()));
  RETURN_IF_FAILED(events->QueryInterface(IID_ITypeInfo, events_info.ReceiveVoid()));
  HREFTYPE href;
  RETURN_IF_FAILED(info->AddRefTypeInfo(iface_info.Get(), &href));
  RETURN_IF_FAILED(info->AddImplType(0, href));
  RETURN_IF_FAILED(info->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT));
  RETURN_IF_FAILED(info->AddRefTypeInfo(events_info.Get(), &href));
  RETURN_IF_FAILED(info->AddImplType(1, href));
  return info->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
}

HRESULT Write(const wchar_t* path) {
  ComPtr<ITypeLib> stdole;
  RETURN_IF_FAILED(LoadTypeLibEx(L"stdole2.tlb", REGKIND_NONE, stdole.Receive()));

  const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
  ComPtr<ICreateTypeLib2> lib;
  RETURN_IF_FAILED(CreateTypeLib2(kind, path, lib.Receive()));
  RETURN_IF_FAILED(lib->SetGuid(kLibId));
  RETURN_IF_FAILED(lib->SetVersion(1, 0));
  RETURN_IF_FAILED(lib->SetLcid(0x409));
  RETURN_IF_FAILED(lib->SetName(const_cast<LPOLESTR>(L"Pelorin")));
  RETURN_IF_FAILED(lib->SetDocString(const_cast<LPOLESTR>(L"Pelorin")));

  ComPtr<ICreateTypeInfo> style, iface, events;
  RETURN_IF_FAILED(AddBorderStyle(lib.Get(), &style));
  RETURN_IF_FAILED(AddPointApi(lib.Get()));
  RETURN_IF_FAILED(AddInterface(lib.Get(), stdole.Get(), style.Get(), &iface));
  RETURN_IF_FAILED(AddEvents(lib.Get(), stdole.Get(), &events));
  RETURN_IF_FAILED(AddCoclass(lib.Get(), iface.Get(), events.Get()));
  RETURN_IF_FAILED(lib->SaveAllChanges());
  lib.Reset();
  return SetRecordSize(path, kPointApi, 2 * sizeof(LONG));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_typelib OUTPUT.tlb\n");
    return 2;
  }
  HRESULT hr = CoInitialize(nullptr);
  if (SUCCEEDED(hr)) hr = Write(argv[1]);
  CoUninitialize();
  if (FAILED(hr)) {
    fprintf(stderr, "make_typelib: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  return 0;
}

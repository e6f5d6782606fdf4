#include "typelib_dispatch.h"

#include <map>

#include "module.h"

namespace com {
namespace {

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return memcmp(&a, &b, sizeof(GUID)) < 0; }
};

// Objects of an apartment-threaded server may live on several STA threads of one process.
SRWLOCK g_cache_lock = SRWLOCK_INIT;

// Held for the life of the process: type info is immutable and shared by every object.
ITypeLib* g_lib;
std::map<GUID, ITypeInfo*, GuidLess>* g_infos;

}  // namespace

HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  AcquireSRWLockExclusive(&g_cache_lock);
  HRESULT hr = S_OK;
  if (!g_lib) hr = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &g_lib);
  if (SUCCEEDED(hr)) {
    if (!g_infos) g_infos = new std::map<GUID, ITypeInfo*, GuidLess>();
    auto it = g_infos->find(guid);
    if (it == g_infos->end()) {
      ITypeInfo* info = nullptr;
      hr = g_lib->GetTypeInfoOfGuid(guid, &info);
      if (SUCCEEDED(hr)) it = g_infos->emplace(guid, info).first;
    }
    if (SUCCEEDED(hr)) {
      *out = it->second;
      (*out)->AddRef();
    }
  }
  ReleaseSRWLockExclusive(&g_cache_lock);
  return hr;
}

}  // namespace com

// The shared IUnknown: which IIDs an object answers, with which pointer, and when it goes away.
#include "unknown_impl.h"

#include <gtest/gtest.h>
#include <ocidl.h>

namespace {

// {0E5C7D2A-4B61-4F0C-8E27-95A3D1B64C10}
constexpr GUID kOwnCase = {0x0e5c7d2a, 0x4b61, 0x4f0c, {0x8e, 0x27, 0x95, 0xa3, 0xd1, 0xb6, 0x4c, 0x10}};

// Two listed interfaces, one answering its base's IID too, and one case of its own.
class Probe final
    : public com::Unknown<IPropertyBag, com::Answering<IProvideClassInfo2, IProvideClassInfo>> {
 public:
  explicit Probe(bool* destroyed) : destroyed_(destroyed) {}

  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT*, IErrorLog*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD, GUID*) override { return E_NOTIMPL; }

  IUnknown* Identity() { return static_cast<IPropertyBag*>(this); }
  IUnknown* ClassInfo() { return static_cast<IProvideClassInfo2*>(this); }

 protected:
  void* FindOwnInterface(REFIID iid) override {
    return IsEqualIID(iid, kOwnCase) ? this : nullptr;
  }

 private:
  ~Probe() override { *destroyed_ = true; }
  bool* destroyed_;
};

TEST(UnknownImpl, AnswersEachListedIidWithTheSamePointerEveryTime) {
  bool destroyed = false;
  auto* probe = new Probe(&destroyed);
  const struct {
    const char* name;
    const IID& iid;
    void* expected;  // nullptr: not answered
  } cases[] = {
      {"IUnknown", IID_IUnknown, probe->Identity()},
      {"IPropertyBag", IID_IPropertyBag, probe->Identity()},
      {"IProvideClassInfo2", IID_IProvideClassInfo2, probe->ClassInfo()},
      {"IProvideClassInfo through IProvideClassInfo2", IID_IProvideClassInfo, probe->ClassInfo()},
      {"own case", kOwnCase, probe},
      {"IDispatch", IID_IDispatch, nullptr},
      {"IPersist", IID_IPersist, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Asked through every interface the object hands out: the answer must not depend on it.
    for (IUnknown* asked : {probe->Identity(), probe->ClassInfo()}) {
      void* out = reinterpret_cast<void*>(1);
      HRESULT hr = asked->QueryInterface(c.iid, &out);
      if (!c.expected) {
        EXPECT_EQ(hr, E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        continue;
      }
      ASSERT_EQ(hr, S_OK);
      EXPECT_EQ(out, c.expected);
      EXPECT_EQ(probe->Release(), 1u) << "the answer carries one reference";
    }
  }
  EXPECT_FALSE(destroyed);
  probe->Release();
  EXPECT_TRUE(destroyed);
}

TEST(UnknownImpl, NullOutPointerIsRefusedWithoutTouchingTheCount) {
  bool destroyed = false;
  auto* probe = new Probe(&destroyed);
  EXPECT_EQ(probe->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(probe->QueryInterface(kOwnCase, nullptr), E_POINTER);
  EXPECT_EQ(probe->AddRef(), 2u);
  EXPECT_EQ(probe->Release(), 1u);
  probe->Release();
}

TEST(UnknownImpl, CreatorHoldsTheFirstReferenceAndTheLastReleaseDeletes) {
  bool destroyed = false;
  auto* probe = new Probe(&destroyed);
  IUnknown* info = nullptr;
  ASSERT_EQ(probe->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&info)), S_OK);
  EXPECT_EQ(probe->Release(), 1u);  // the creator's reference
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(info->Release(), 0u);
  EXPECT_TRUE(destroyed);
}

// A part of another object, counting references on its owner as a connection point does.
class Part final : public IPropertyBag {
 public:
  explicit Part(IUnknown* owner) : owner_(owner) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return com::QueryInterfaceOf<IPropertyBag>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT*, IErrorLog*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

 private:
  IUnknown* owner_;
};

TEST(UnknownImpl, PartAnswersItselfAndReferencesItsOwner) {
  bool destroyed = false;
  auto* owner = new Probe(&destroyed);
  Part part(owner->Identity());
  void* out = nullptr;
  ASSERT_EQ(part.QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<IPropertyBag*>(&part));
  EXPECT_EQ(owner->Release(), 1u) << "the part's answer referenced the owner";
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(part.QueryInterface(IID_IProvideClassInfo, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(part.QueryInterface(IID_IPropertyBag, nullptr), E_POINTER);
  owner->Release();
  EXPECT_TRUE(destroyed);
}

}  // namespace

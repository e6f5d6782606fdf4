// IUnknown for the small objects of this tree: a reference count and QueryInterface over the
// interfaces a class lists, instead of a hand-written copy in each class.
#pragma once
#include <objbase.h>

namespace com {

// A listed base that also answers the IIDs of interfaces it derives from, with its own pointer:
// Answering<IMyDual, IDispatch> hands out the IMyDual pointer for IID_IDispatch.
template <class Base, class... Inherited>
struct Answering : Base {};

// How a listed base is answered: the interface pointer handed out and the IIDs it answers.
// An implementation helper (TypeLibDispatch<I>) specializes this to stand for its interface.
template <class Base>
struct Listed {
  using Interface = Base;
  static bool Answers(REFIID iid) { return IsEqualIID(iid, __uuidof(Base)); }
};

template <class Base, class... Inherited>
struct Listed<Answering<Base, Inherited...>> {
  using Interface = typename Listed<Base>::Interface;
  static bool Answers(REFIID iid) {
    return Listed<Base>::Answers(iid) || (IsEqualIID(iid, __uuidof(Inherited)) || ...);
  }
};

// `object` as the interface `Base` stands for, when that answers `iid`; otherwise nullptr.
template <class Base, class Object>
void* AnswerFrom(Object* object, REFIID iid) {
  using Interface = typename Listed<Base>::Interface;
  return Listed<Base>::Answers(iid) ? static_cast<Interface*>(object) : nullptr;
}

// The pointer of `object` that answers `iid` among the listed bases, not yet referenced, or
// nullptr. IUnknown is answered through the first, so that identity never depends on the IID.
template <class First, class... Rest, class Object>
void* FindInterface(Object* object, REFIID iid) {
  if (IsEqualIID(iid, IID_IUnknown)) {
    return static_cast<typename Listed<First>::Interface*>(object);
  }
  for (void* found : {AnswerFrom<First>(object, iid), AnswerFrom<Rest>(object, iid)...}) {
    if (found) return found;
  }
  return nullptr;
}

// QueryInterface over the listed bases, for an object whose reference count lives elsewhere
// (a connection point counts on its container).
template <class... Bases, class Object>
HRESULT QueryInterfaceOf(Object* object, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = FindInterface<Bases...>(object, iid);
  if (!*out) return E_NOINTERFACE;
  object->AddRef();
  return S_OK;
}

// Derives from `Bases` and gives them one IUnknown. The count starts at 1, the creator's
// reference; the object deletes itself when the last reference goes.
template <class... Bases>
class Unknown : public Bases... {
 public:
  Unknown(const Unknown&) = delete;
  Unknown& operator=(const Unknown&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out) {
      if (void* own = FindOwnInterface(iid)) {
        *out = own;
        AddRef();
        return S_OK;
      }
    }
    return QueryInterfaceOf<Bases...>(this, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

 protected:
  Unknown() = default;
  virtual ~Unknown() = default;

  // A class's own QueryInterface cases, asked before the listed bases: the pointer to hand out
  // (not yet referenced) or nullptr.
  virtual void* FindOwnInterface(REFIID) { return nullptr; }

 private:
  LONG refs_ = 1;
};

}  // namespace com

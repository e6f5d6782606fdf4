// Owning pointer to a COM interface: one reference, released on destruction or reset.
#pragma once
#include <objbase.h>
#include <utility>

namespace com {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }  // NOLINT: implicit by design, adds a reference
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& o) { ComPtr(o).Swap(*this); return *this; }
  ComPtr& operator=(ComPtr&& o) noexcept { ComPtr(std::move(o)).Swap(*this); return *this; }
  ComPtr& operator=(T* p) { ComPtr(p).Swap(*this); return *this; }

  // Takes over a reference the caller already owns.
  static ComPtr Adopt(T* p) { ComPtr r; r.p_ = p; return r; }

  void Reset() { if (T* p = std::exchange(p_, nullptr)) p->Release(); }
  T* Detach() { return std::exchange(p_, nullptr); }
  void Swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

  // For out-parameters: releases what is held first.
  T** Receive() { Reset(); return &p_; }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

  // Copies the pointer into an out-parameter with its own reference.
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }

  template <class Q>
  HRESULT As(ComPtr<Q>* out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(__uuidof(Q), out->ReceiveVoid());
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace com

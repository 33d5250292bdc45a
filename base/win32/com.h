#pragma once
// COM on one thread: the apartment for a scope, and one owner per interface pointer.
#include "base/win32/windows_clean.h"
#include <objbase.h>

#include <cstddef>
#include <utility>

namespace ostravel::win32 {

// CoInitializeEx for the scope; uninitialises only what it initialised itself.
class ComApartment {
 public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, model)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // COM is usable on this thread, in this or an apartment someone else opened.
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
  HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};

// Holds one reference; copying adds one, moving hands it over.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that hand out a new reference; whatever was held is released first.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Takes over a reference the caller owns.
  void attach(T* p) {
    reset();
    p_ = p;
  }

  // Another interface of the same object, or an empty pointer.
  template <typename U>
  ComPtr<U> As() const {
    ComPtr<U> other;
    if (p_) p_->QueryInterface(__uuidof(U), other.put_void());
    return other;
  }

 private:
  T* p_ = nullptr;
};

// A new object of a class, asked for interface T; empty when it cannot be made.
template <typename T>
ComPtr<T> CreateInstance(REFCLSID cls, DWORD context = CLSCTX_INPROC_SERVER) {
  ComPtr<T> object;
  if (FAILED(CoCreateInstance(cls, nullptr, context, __uuidof(T), object.put_void()))) object.reset();
  return object;
}

}  // namespace ostravel::win32

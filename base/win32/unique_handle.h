#pragma once
// One move-only owner per Win32 handle kind; closing keeps GetLastError.
#include "base/win32/windows_clean.h"

#include <winhttp.h>
#include <winsvc.h>

#include <cstdint>

#include <utility>

namespace ostravel::win32 {

// Traits: static T Invalid(); static void Close(T).
template <typename T, typename Traits>
class UniqueAny {
  static T Invalid() { return Traits::Invalid(); }

 public:
  UniqueAny() = default;
  explicit UniqueAny(T value) : value_(value) {}
  UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, Invalid())) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Invalid()));
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  ~UniqueAny() { reset(); }

  T get() const { return value_; }
  T* put() {
    reset();
    return &value_;
  }
  explicit operator bool() const { return value_ != Invalid(); }
  T release() { return std::exchange(value_, Invalid()); }
  void reset() { reset(Invalid()); }
  void reset(T value) {
    if (value_ != Invalid()) {
      DWORD error = GetLastError();
      Traits::Close(value_);
      SetLastError(error);
    }
    value_ = value;
  }

 private:
  T value_ = Invalid();
};

template <typename T, void (*CloseFn)(T), intptr_t InvalidValue = 0>
struct HandleTraits {
  static T Invalid() { return (T)InvalidValue; }
  static void Close(T h) { CloseFn(h); }
};

inline void CloseHandleFn(HANDLE h) { CloseHandle(h); }
inline void CloseKeyFn(HKEY h) { RegCloseKey(h); }
inline void FindCloseFn(HANDLE h) { FindClose(h); }
inline void DeleteObjectFn(HGDIOBJ h) { DeleteObject(h); }
inline void CloseServiceHandleFn(SC_HANDLE h) { CloseServiceHandle(h); }
inline void CloseInternetFn(HINTERNET h) { WinHttpCloseHandle(h); }

using UniqueHandle = UniqueAny<HANDLE, HandleTraits<HANDLE, CloseHandleFn>>;
using UniqueFile = UniqueAny<HANDLE, HandleTraits<HANDLE, CloseHandleFn, -1>>;
using UniqueFind = UniqueAny<HANDLE, HandleTraits<HANDLE, FindCloseFn, -1>>;
using UniqueHkey = UniqueAny<HKEY, HandleTraits<HKEY, CloseKeyFn>>;
using UniqueGdiObject = UniqueAny<HGDIOBJ, HandleTraits<HGDIOBJ, DeleteObjectFn>>;
// Service manager and service handles.
using UniqueScHandle = UniqueAny<SC_HANDLE, HandleTraits<SC_HANDLE, CloseServiceHandleFn>>;
// WinHTTP session, connection and request handles.
using UniqueHinternet = UniqueAny<HINTERNET, HandleTraits<HINTERNET, CloseInternetFn>>;

// The process and thread handles CreateProcess hands back, owned together.
struct UniqueProcessHandles {
  UniqueHandle process, thread;
  explicit UniqueProcessHandles(const PROCESS_INFORMATION& info) : process(info.hProcess), thread(info.hThread) {}
};

}  // namespace ostravel::win32

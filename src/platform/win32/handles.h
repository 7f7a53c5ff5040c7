#pragma once
#include <windows.h>

#include <utility>

namespace veltrane::win32 {

// One non-copyable owner per kind of handle; each knows its own "none" value
// and how it is let go.
template <typename Traits>
class Owner {
 public:
  using Handle = typename Traits::Handle;
  Owner() = default;
  explicit Owner(Handle h) : h_(h) {}
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : h_(other.Release()) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~Owner() { Reset(); }

  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::None(); }
  Handle Release() { return std::exchange(h_, Traits::None()); }
  void Reset(Handle h = Traits::None()) {
    if (h_ != Traits::None()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::None();
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};
struct KeyHandleTraits {
  using Handle = HKEY;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};

// Processes, threads and other kernel objects that fail as null, not as
// INVALID_HANDLE_VALUE.
struct ObjectHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};

struct ModuleHandleTraits {
  using Handle = HMODULE;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};

using FileHandle = Owner<FileHandleTraits>;  // CreateFileW: INVALID_HANDLE_VALUE on failure
using FindHandle = Owner<FindHandleTraits>;
using KeyHandle = Owner<KeyHandleTraits>;
using ModuleHandle = Owner<ModuleHandleTraits>;  // LoadLibraryW
using ProcessHandle = Owner<ObjectHandleTraits>;  // OpenProcess, CreateProcessW
using ThreadHandle = Owner<ObjectHandleTraits>;   // CreateThread, CreateProcessW

}  // namespace veltrane::win32

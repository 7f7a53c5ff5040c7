#include "platform/win32/system_library.h"

#include <string>

namespace veltrane::win32 {

void KeepDllSearchInSystemFolder() {
  SetDllDirectoryW(L"");
  using SetDefaultFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  if (setDefault) setDefault(kSearchSystem32);
}

ModuleHandle LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ModuleHandle();
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  path += name;
  return ModuleHandle(LoadLibraryW(path.c_str()));
}

}  // namespace veltrane::win32

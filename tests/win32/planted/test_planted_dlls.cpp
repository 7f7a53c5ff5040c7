// veltrane.exe copied into a folder that also holds DLLs of ours named like
// the ones it imports or loads, with Windows' own search order forced on Wine
// (native first, as WINEDLLOVERRIDES=name=n,b would, set for veltrane.exe in
// the prefix's registry, since a Wine child does not take it from a Win32
// parent's environment): started, the program must show its main window and
// none of the planted DLLs may run.
//   veltrane_planted_dll_tests <veltrane.exe> <planted_mark.dll>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "veltrane_version.h"

namespace {

std::wstring program, plantedDll;

// ctest hands over unix paths; Wine shows them on drive Z:.
std::wstring WindowsPath(std::wstring path) {
  for (wchar_t& ch : path)
    if (ch == L'/') ch = L'\\';
  return path.rfind(L"\\", 0) == 0 ? L"Z:" + path : path;
}

// The DLLs outside KnownDLLs that the program loads at run time or links to
// without importing. version.dll cannot be planted here: Wine's own user32
// imports it and would load the planted one whatever the program does (the
// import table check keeps it out of the exe); nor can ole32.dll, which
// Wine's own DLLs import at start-up, while Windows always takes it, a
// KnownDLL, from the system folder.
const wchar_t* const kPlanted[] = {L"comctl32.dll", L"msimg32.dll"};

// DLLs Windows 7 and later always take from the system folder (KnownDLLs),
// and ntdll.dll, which the kernel maps into every process before any search.
const char* const kKnownDlls[] = {"advapi32.dll", "comdlg32.dll", "gdi32.dll",    "imm32.dll",   "kernel32.dll",
                                  "msvcrt.dll",   "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "shell32.dll",
                                  "shlwapi.dll",  "user32.dll",   "ws2_32.dll"};

TEST(PlantedDlls, TheExeImportsOnlyKnownDlls) {
  const HMODULE image = LoadLibraryExW(program.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(image, nullptr);
  const auto* base = reinterpret_cast<const BYTE*>(image);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  ASSERT_NE(imports.VirtualAddress, 0u);
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
       ++entry) {
    const char* name = reinterpret_cast<const char*>(base + entry->Name);
    bool known = false;
    for (const char* k : kKnownDlls) known = known || lstrcmpiA(name, k) == 0;
    EXPECT_TRUE(known) << "the exe imports " << name << ", which Windows may take from the exe's folder";
  }
  FreeLibrary(image);
}

struct Found {
  DWORD pid;
  HWND window;
};

BOOL CALLBACK MatchMain(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<Found*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  wchar_t title[128] = {};
  GetWindowTextW(w, title, 128);
  if (owner != f->pid || !IsWindowVisible(w) || std::wstring(title) != L"" VELTRANE_CAPTION) return TRUE;
  f->window = w;
  return FALSE;
}

HWND MainWindowOf(DWORD pid) {
  Found found{pid, nullptr};
  EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

TEST(PlantedDlls, NoneRunsWhenTheProgramStarts) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"veltrane-planted-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const std::wstring exe = folder + L"veltrane.exe";
  ASSERT_TRUE(CopyFileW(program.c_str(), exe.c_str(), FALSE));
  constexpr const wchar_t* kOverrides = L"Software\\Wine\\AppDefaults\\veltrane.exe\\DllOverrides";
  HKEY overrides = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides, nullptr),
            ERROR_SUCCESS);
  for (const wchar_t* name : kPlanted) {
    ASSERT_TRUE(CopyFileW(plantedDll.c_str(), (folder + name).c_str(), FALSE));
    const std::wstring module(name, wcslen(name) - 4);
    const wchar_t order[] = L"native,builtin";
    RegSetValueExW(overrides, module.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
  }
  RegCloseKey(overrides);

  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  std::wstring command = L"\"" + exe + L"\"";
  ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &start,
                             &process));
  HWND main = nullptr;
  for (int tenths = 0; tenths < 300 && !main; ++tenths) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    main = MainWindowOf(process.dwProcessId);
  }
  EXPECT_NE(main, nullptr) << "the program showed no main window within 30 s";
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  for (const wchar_t* name : kPlanted) {
    const std::wstring mark = folder + name + L".ran";
    EXPECT_EQ(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted " << std::string(name, name + wcslen(name)) << " ran";
    DeleteFileW(mark.c_str());
    DeleteFileW((folder + name).c_str());
  }
  DeleteFileW(exe.c_str());
  RemoveDirectoryW(folder.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, kOverrides);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    fprintf(stderr, "usage: veltrane_planted_dll_tests <veltrane.exe> <planted_mark.dll>\n");
    return 2;
  }
  program = WindowsPath(argv[1]);
  plantedDll = WindowsPath(argv[2]);
  return RUN_ALL_TESTS();
}

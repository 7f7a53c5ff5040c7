#include "support/setup.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace veltrane::win32::testing {

namespace {

// Runs a unix program under Wine (Wine starts ELF programs from CreateProcess
// and hands back no process handle), then waits until `done` holds. Its
// arguments are split by the Windows rules: double quotes, \" inside them.
template <typename Done>
bool RunUnix(const wchar_t* program, std::wstring commandLine, const std::wstring& folder,
             Done done) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process))
    return false;
  // For a unix program the process handle is null and the thread handle
  // garbage: closing it would close some other handle of ours.
  if (process.hProcess) {
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return false;
}

// Splits "C:\a\b" into "C:\a" and "b"; a trailing "\" is dropped first.
std::pair<std::wstring, std::wstring> Split(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  const std::size_t cut = path.find_last_of(L'\\');
  return {path.substr(0, cut), path.substr(cut + 1)};
}

// The set-up reaches exactly the names it is given ("foo.", "con", past 260
// characters): test paths are full and plain, so "\\?\" in front is enough.
std::wstring Exact(const std::string& path) { return L"\\\\?\\" + Widen(path); }

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

}  // namespace

bool ResetKey(const std::string& path) {
  DeleteKey(path);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool DeleteKey(const std::string& path) {
  const LONG status = RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
  return status == ERROR_SUCCESS;
}

bool SetRegBytes(const std::string& path, const std::string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& bytes) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, Widen(path).c_str(), Widen(name).c_str(), type,
                         bytes.empty() ? nullptr : bytes.data(),
                         DWORD(bytes.size())) == ERROR_SUCCESS;
}

bool SetRegText(const std::string& path, const std::string& name, std::uint32_t type,
                const std::string& text, bool withNul) {
  std::wstring wide = Widen(text);
  if (withNul) wide.push_back(L'\0');
  std::vector<std::uint8_t> bytes;
  for (wchar_t c : wide) {
    bytes.push_back(std::uint8_t(c & 0xFF));
    bytes.push_back(std::uint8_t(c >> 8));
  }
  return SetRegBytes(path, name, type, bytes);
}

bool HasRegValue(const std::string& path, const std::string& name) {
  return RegGetValueW(HKEY_CURRENT_USER, Widen(path).c_str(), Widen(name).c_str(), RRF_RT_ANY,
                      nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Exact(path).c_str(), nullptr) != FALSE;
}

bool MakeFile(const std::string& path, const std::string& content) {
  FileHandle file(CreateFileW(Exact(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), content.data(), DWORD(content.size()), &written, nullptr) &&
         written == content.size();
}

bool SetAttributes(const std::string& path, std::uint32_t attributes) {
  const std::wstring wide = Exact(path);
  const DWORD current = AttributesOf(wide);
  if (current == INVALID_FILE_ATTRIBUTES) return false;
  const bool folder = current & FILE_ATTRIBUTE_DIRECTORY;
  DWORD settable = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  if (!folder) settable |= attributes & FILE_ATTRIBUTE_READONLY;
  if (!SetFileAttributesW(wide.c_str(), settable ? settable : FILE_ATTRIBUTE_NORMAL)) return false;
  if (folder && (attributes & FILE_ATTRIBUTE_READONLY)) {
    const auto [parent, name] = Split(Widen(path));
    return RunUnix(L"Z:\\bin\\chmod", L"chmod 555 \"" + name + L"\"", parent,
                   [&] { return (AttributesOf(wide) & FILE_ATTRIBUTE_READONLY) != 0; });
  }
  return true;
}

bool MakeHardLink(const std::string& path, const std::string& existing) {
  return CreateHardLinkW(Exact(path).c_str(), Exact(existing).c_str(), nullptr) != FALSE;
}

bool Rename(const std::string& from, const std::string& to) {
  return MoveFileExW(Exact(from).c_str(), Exact(to).c_str(), 0) != FALSE;
}

bool MakeUnixLink(const std::string& folder, const std::string& name, const std::string& target) {
  const std::wstring where = Widen(folder);
  const std::wstring link =
      Exact(folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + name);
  std::wstring unixTarget = Widen(target);
  for (wchar_t& c : unixTarget)
    if (c == L'\\') c = L'/';
  return RunUnix(L"Z:\\bin\\ln", L"ln -s \"" + unixTarget + L"\" \"" + Widen(name) + L"\"", where,
                 [&] { return AttributesOf(link) != INVALID_FILE_ATTRIBUTES; });
}

bool RemoveTree(const std::string& folder) {
  const std::wstring wide = Exact(folder);
  if (AttributesOf(wide) == INVALID_FILE_ATTRIBUTES) return true;
  const auto [parent, name] = Split(Widen(folder));
  // Permissions first: a folder made read-only (chmod 555) keeps its entries otherwise.
  return RunUnix(L"Z:\\bin\\sh",
                 L"sh -c \"chmod -R u+w \\\"" + name + L"\\\"; rm -rf \\\"" + name + L"\\\"\"", parent,
                 [&] { return AttributesOf(wide) == INVALID_FILE_ATTRIBUTES; });
}

std::optional<std::string> ReadAll(const std::string& path) {
  FileHandle file(CreateFileW(Exact(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    out.append(buffer, got);
  return out;
}

bool Exists(const std::string& path) { return AttributesOf(Exact(path)) != INVALID_FILE_ATTRIBUTES; }

HeldFile::HeldFile(const std::string& path, bool shareAll)
    : handle_(reinterpret_cast<std::uintptr_t>(CreateFileW(
          Exact(path).c_str(), GENERIC_READ,
          shareAll ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ,
          nullptr, OPEN_EXISTING, 0, nullptr))) {}
HeldFile::~HeldFile() {
  if (ok()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}
bool HeldFile::ok() const { return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE; }

void PostToSelf(unsigned message) { PostThreadMessageW(GetCurrentThreadId(), message, 0, 0); }

bool QueueHolds(unsigned message) {
  MSG msg;
  return PeekMessageW(&msg, nullptr, message, message, PM_NOREMOVE) != FALSE;
}

void SleepMs(unsigned ms) { Sleep(ms); }

TitledWindow::TitledWindow(const std::string& title)
    : handle_(reinterpret_cast<platform::WindowHandle>(
          CreateWindowExW(0, L"STATIC", Widen(title).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                          0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))) {}
TitledWindow::~TitledWindow() {
  if (handle_) DestroyWindow(reinterpret_cast<HWND>(handle_));
}

}  // namespace veltrane::win32::testing

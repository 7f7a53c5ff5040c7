#include "seed.h"

#include "platform/win32/handles.h"
#include "probe.h"

namespace e2e {

namespace {
using veltrane::win32::FileHandle;
using veltrane::win32::KeyHandle;

// Under HKEY_CURRENT_USER; holds nothing when the key cannot be opened.
KeyHandle OpenKey(const wchar_t* path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key) != ERROR_SUCCESS) return {};
  return KeyHandle(key);
}

KeyHandle CreateKey(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return {};
  return KeyHandle(key);
}

std::wstring WithSlash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}


DWORD AttributeBits(FileKind kind) {
  switch (kind) {
    case FileKind::Hidden: return FILE_ATTRIBUTE_HIDDEN;
    case FileKind::System: return FILE_ATTRIBUTE_SYSTEM;
    case FileKind::ReadOnly: return FILE_ATTRIBUTE_READONLY;
    case FileKind::Plain: break;
  }
  return FILE_ATTRIBUTE_NORMAL;
}

std::string Number(DWORD value) {
  char text[16];
  wsprintfA(text, "%lu", value);
  return text;
}

// Wine's own call that maps a DOS path to the unix one; tools/e2e chmods with it.
std::string UnixPathOf(const std::wstring& path) {
  using Mapper = char*(CDECL*)(LPCWSTR);
  auto map = reinterpret_cast<Mapper>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!map) return {};
  char* unix = map(path.c_str());
  if (!unix) return {};
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

void SeedOneFile(const Profile& profile, const e2e::SeedFile& file, SeedReport& report) {
  const std::wstring path = profile.PathOf(file.root, file.path);
  const std::string content = ContentOf(file);
  const DWORD want = ExpectedAttributes(file.kind);
  if (ReadBytes(path) == content && AttributesOf(path) == want) return;
  if (AttributesOf(path) != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!WriteBytes(path, content)) {
    report.ok = false;
    report.problems.push_back("cannot write " + Utf8(path) + " (error " + Number(GetLastError()) + ")");
    return;
  }
  if (file.kind != FileKind::Plain) SetFileAttributesW(path.c_str(), AttributeBits(file.kind));
  if (AttributesOf(path) != want) {
    report.ok = false;
    report.problems.push_back(Utf8(path) + " reports attributes " + Number(AttributesOf(path)) + ", wanted " + Number(want));
  }
}

void SeedFolderAttributes(const Profile& profile, const SeedFolder& folder, SeedReport& report) {
  const std::wstring path = profile.PathOf(folder.root, folder.path);
  switch (folder.kind) {
    case FolderKind::Plain: break;
    case FolderKind::System: SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_SYSTEM); break;
    case FolderKind::Hidden: SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN); break;
    case FolderKind::ReadOnly:
      // Wine ignores the read-only bit on folders; the folder's unix write
      // permission is what it reports as 1.
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
      if (AttributesOf(path) != ExpectedAttributes(folder.kind)) report.readOnlyFolders.push_back(UnixPathOf(path));
      return;
  }
  if (AttributesOf(path) != ExpectedAttributes(folder.kind)) {
    report.ok = false;
    report.problems.push_back(Utf8(path) + " reports attributes " + Number(AttributesOf(path)) + ", wanted " +
                           Number(ExpectedAttributes(folder.kind)));
  }
}

// A folder of attribute word 48 would be left out of the walk, but Wine
// cannot give a folder the archive bit: try it and say so.
void ProbeArchiveFolder(const Profile& profile, SeedReport& report) {
  const std::wstring path = profile.cache + L"ArchiveProbe";
  CreateDirectoryW(path.c_str(), nullptr);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
  const DWORD got = AttributesOf(path);
  RemoveDirectoryW(path.c_str());
  if (got != (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE))
    report.notes.push_back("a folder of attribute word 48 is not reachable here (got " + Number(got) +
                           "): no such folder seeded");
}

bool SetString(HKEY key, const wchar_t* name, const wchar_t* data) {
  const DWORD bytes = static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
}

void SeedRegistry(SeedReport& report) {
  const KeyHandle urls = CreateKey(kTypedUrlsKey);
  if (!urls) {
    report.ok = false;
    report.problems.push_back("cannot create the TypedURLs key");
    return;
  }
  for (const SeedValue& value : SeedTypedUrls())
    if (!SetString(urls.Get(), value.name, value.data)) {
      report.ok = false;
      report.problems.push_back("cannot set " + Utf8(value.name));
    }
  RegDeleteValueW(urls.Get(), kAbsentTypedUrl);

  const KeyHandle times = CreateKey(kTypedUrlsTimeKey);
  if (!times) {
    report.ok = false;
    report.problems.push_back("cannot create the TypedURLsTime key");
    return;
  }
  const BYTE when[8] = {0x00, 0x80, 0x3e, 0xd5, 0xde, 0xb1, 0xd9, 0x01};
  for (const wchar_t* name : {L"url1", L"url2", L"url3"})
    RegSetValueExW(times.Get(), name, 0, REG_BINARY, when, sizeof when);
}
}  // namespace

const std::wstring& Profile::Folder(Root root) const {
  switch (root) {
    case Root::History: return history;
    case Root::Cache: return cache;
    case Root::Cookies: break;
  }
  return cookies;
}

std::wstring Profile::PathOf(Root root, const wchar_t* relative) const { return Folder(root) + relative; }

namespace {

constexpr const wchar_t* kShellFolderNames[] = {L"Cookies", L"History", L"Cache"};

void SetShellFolders(const std::vector<std::optional<std::wstring>>& values) {
  const KeyHandle key = OpenKey(kShellFoldersKey, KEY_SET_VALUE);
  if (!key) return;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i])
      RegSetValueExW(key.Get(), kShellFolderNames[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(values[i]->c_str()),
                     static_cast<DWORD>((values[i]->size() + 1) * sizeof(wchar_t)));
    else
      RegDeleteValueW(key.Get(), kShellFolderNames[i]);
  }
}

}  // namespace

ShellFoldersSwap::ShellFoldersSwap(const Profile* replacement) {
  for (const wchar_t* name : kShellFolderNames) saved_.push_back(ReadString(kShellFoldersKey, name));
  std::vector<std::optional<std::wstring>> values(3);
  if (replacement)
    for (Root root : {Root::Cookies, Root::History, Root::Cache}) {
      std::wstring folder = replacement->Folder(root);
      if (!folder.empty() && folder.back() == L'\\') folder.pop_back();  // as the system writes them
      values[static_cast<std::size_t>(root)] = folder;
    }
  SetShellFolders(values);
}

ShellFoldersSwap::~ShellFoldersSwap() { SetShellFolders(saved_); }

Profile ReadProfile() {
  Profile profile;
  for (auto [name, out] : {std::pair{L"Cookies", &profile.cookies}, std::pair{L"History", &profile.history},
                           std::pair{L"Cache", &profile.cache}}) {
    const auto value = ReadString(kShellFoldersKey, name);
    if (value && !value->empty()) *out = WithSlash(*value);
  }
  return profile;
}

SeedReport Seed(const Profile& profile) {
  SeedReport report;
  if (!profile.Complete()) {
    report.ok = false;
    report.problems.push_back("the Shell Folders values Cookies, History and Cache are not all there");
    return report;
  }
  for (Root root : {Root::Cookies, Root::History, Root::Cache}) {
    const std::wstring& folder = profile.Folder(root);
    // The folders may not exist yet in a fresh prefix: make every level.
    for (size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
      CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
  }
  for (const SeedFolder& folder : SeedFolders())
    CreateDirectoryW(profile.PathOf(folder.root, folder.path).c_str(), nullptr);
  for (const e2e::SeedFile& file : SeedFiles()) SeedOneFile(profile, file, report);
  for (const SeedFolder& folder : SeedFolders()) SeedFolderAttributes(profile, folder, report);
  ProbeArchiveFolder(profile, report);
  SeedRegistry(report);
  return report;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  const FileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.empty() ||
         (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size());
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[8192];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

DWORD ExpectedAttributes(FileKind kind) {
  // Wine reports every plain file as archive.
  return FILE_ATTRIBUTE_ARCHIVE | (kind == FileKind::Plain ? 0 : AttributeBits(kind));
}

DWORD ExpectedAttributes(FolderKind kind) {
  switch (kind) {
    case FolderKind::System: return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM;
    case FolderKind::ReadOnly: return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    case FolderKind::Hidden: return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    case FolderKind::Plain: break;
  }
  return FILE_ATTRIBUTE_DIRECTORY;
}

std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name) {
  const KeyHandle opened = OpenKey(key, KEY_READ);
  if (!opened) return std::nullopt;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(opened.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(opened.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  data.resize(wcsnlen(data.c_str(), data.size()));
  if (type == REG_EXPAND_SZ) {
    wchar_t expanded[MAX_PATH * 2];
    if (ExpandEnvironmentStringsW(data.c_str(), expanded, MAX_PATH * 2)) data = expanded;
  }
  return data;
}

bool KeyExists(const wchar_t* key) {
  return bool(OpenKey(key, KEY_READ));
}

int ValueCount(const wchar_t* key) {
  const KeyHandle opened = OpenKey(key, KEY_READ);
  if (!opened) return -1;
  DWORD count = 0;
  RegQueryInfoKeyW(opened.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                   nullptr, nullptr);
  return static_cast<int>(count);
}

}  // namespace e2e

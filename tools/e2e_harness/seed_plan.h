#pragma once
#include <windows.h>

#include <span>
#include <string>

namespace e2e {

// The sample traces: what the seeding puts into the profile, and what the
// program must find, erase and leave. The e2e cases and the demo share it.

enum class Root { Cookies, History, Cache };

enum class FolderKind {
  Plain,     // attribute word 16: walked
  System,    // 20: walked
  ReadOnly,  // 17: left out; under Wine only chmod 555 gives it (tools/e2e does)
  Hidden,    // 18: left out
};

enum class FileKind { Plain, Hidden, System, ReadOnly };

enum class Fate {
  Erased,      // listed by the scan and gone after the removal
  Kept,        // never listed, still there byte for byte
  ListedKept,  // listed, but cannot be deleted (read-only), so it stays
};

struct SeedFolder {
  Root root;
  const wchar_t* path;  // relative to the root folder
  FolderKind kind;
};

struct SeedFile {
  Root root;
  const wchar_t* path;
  FileKind kind;
  Fate fate;
  int size;             // bytes of generated content when `content` is null
  const char* content;  // exact bytes (cookie files)
  const char* domain;   // cookie files: the line the details window lists; null if none
};

struct SeedValue {
  const wchar_t* name;
  const wchar_t* data;
  bool inList;  // part of the typed-address list (Url1 up to the first gap)
};

constexpr const wchar_t* kTypedUrlsKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const wchar_t* kTypedUrlsTimeKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLsTime";
constexpr const wchar_t* kShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const wchar_t* kAbsentTypedUrl = L"Url4";

std::span<const SeedFolder> SeedFolders();
std::span<const SeedFile> SeedFiles();
std::span<const SeedValue> SeedTypedUrls();
std::string ContentOf(const SeedFile& file);
int ListedCount(Root root);
int UndeletableCount(Root root);  // listed, but still there after a removal
int TypedUrlCount();

}  // namespace e2e

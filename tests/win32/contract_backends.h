#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_files.h"
#include "platform/fake/fake_registry.h"
#include "support/setup.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_registry.h"

// The two sides of the contract tests. Each backend makes the same situation
// its own way (the fake by direct calls, the Win32 side in Wine's real
// registry and under C:\) and hands out the platform services under test.
// Paths given to the set-up are relative to the backend's test folder.
namespace veltrane::contract {

inline const std::string kKeyBase = "Software\\VeltraneTest\\";
inline const std::string kFolderBase = "C:\\vtest\\";

struct FakeBackend {
  static constexpr const char* kName = "Fake";
  static constexpr bool kTellsFileLinks = true;
  fake::FakeRegistry reg;
  fake::FakeFileSystem fs;
  std::string key, root;

  bool Begin(const std::string& test) {
    key = kKeyBase + test;
    root = kFolderBase + test + "\\";
    reg.CreateKey(key);
    fs.AddFolder(root);
    return true;
  }
  void End() {}

  platform::Registry& registry() { return reg; }
  platform::FileSystem& files() { return fs; }
  int OpenKeyCount() const { return reg.OpenKeyCount(); }
  std::string State() const { return fs.ToString(); }

  // The fake holds strings as the program sees them, whatever their type.
  bool SetText(const std::string& name, std::uint32_t type, const std::string& text, bool withNul) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withNul) bytes.push_back(0);
    reg.SetValue(key, name, type, bytes);
    return true;
  }
  bool SetBytes(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> bytes) {
    reg.SetValue(key, name, type, std::move(bytes));
    return true;
  }
  bool HasValue(const std::string& name) const { return reg.HasValue(key, name); }
  bool RemoveKey() {
    reg.RemoveKey(key);
    return true;
  }

  static bool CanMake(std::uint32_t) { return true; }
  bool AddFolder(const std::string& rel, std::uint32_t attrs = platform::kAttrDirectory) {
    fs.AddFolder(root + rel, attrs);
    return true;
  }
  bool AddFile(const std::string& rel, const std::string& content,
               std::uint32_t attrs = platform::kAttrArchive) {
    fs.AddFile(root + rel, content, attrs);
    return true;
  }
  bool AddHardLink(const std::string& rel, const std::string& existingRel) {
    fs.AddHardLink(root + rel, root + existingRel);
    return true;
  }
  bool SetAttributes(const std::string& rel, std::uint32_t attrs) {
    fs.SetAttributes(root + rel, attrs);
    return true;
  }
  // Links, both paths relative to the test folder.
  bool AddLink(const std::string& rel, const std::string& targetRel) {
    fs.AddLink(root + rel, root + targetRel);
    return true;
  }
  bool AddFolderLink(const std::string& rel, const std::string& targetRel) {
    fs.AddFolderLink(root + rel, root + targetRel + "\\");
    return true;
  }
  bool Remove(const std::string& rel) {
    fs.Remove(root + rel);
    return true;
  }
  bool Rename(const std::string& rel, const std::string& newRel) {
    fs.Rename(root + rel, root + newRel);
    return fs.Exists(root + newRel);
  }
  bool Exists(const std::string& rel) const { return fs.Exists(root + rel); }
  std::string Content(const std::string& rel) const { return fs.Content(root + rel); }
  // Another program holding the file open without sharing it; let go with the result.
  std::shared_ptr<void> Hold(const std::string& rel) {
    const std::string path = root + rel;
    fs.SetLocked(path, true);
    return std::shared_ptr<void>(&fs, [this, path](void*) { fs.SetLocked(path, false); });
  }
  // Another program holding the file open, letting others read, write and delete it.
  std::shared_ptr<void> HoldSharing(const std::string& rel) {
    const std::string path = root + rel;
    fs.SetHeldSharing(path, true);
    return std::shared_ptr<void>(&fs, [this, path](void*) { fs.SetHeldSharing(path, false); });
  }
};

// The link check chosen for the platform it runs on: under Wine, the final path.
struct Win32Backend {
  static constexpr const char* kName = "Win32";
  static constexpr bool kTellsFileLinks = true;
  explicit Win32Backend(win32::LinkCheck check = win32::DetectLinkCheck()) : fs(check) {}
  win32::Win32Registry reg;
  win32::Win32FileSystem fs;
  std::string key, root;

  bool Begin(const std::string& test) {
    key = kKeyBase + test;
    root = kFolderBase + test + "\\";
    win32::testing::MakeFolder(kFolderBase);
    return win32::testing::ResetKey(key) && win32::testing::RemoveTree(root) &&
           win32::testing::MakeFolder(root);
  }
  void End() {
    win32::testing::DeleteKey(key);
    win32::testing::RemoveTree(root);
  }

  platform::Registry& registry() { return reg; }
  platform::FileSystem& files() { return fs; }
  int OpenKeyCount() const { return int(reg.OpenKeyCount()); }
  std::string State() const { return "(real files under " + root + ")"; }

  bool SetText(const std::string& name, std::uint32_t type, const std::string& text, bool withNul) {
    return win32::testing::SetRegText(key, name, type, text, withNul);
  }
  bool SetBytes(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> bytes) {
    return win32::testing::SetRegBytes(key, name, type, bytes);
  }
  bool HasValue(const std::string& name) const { return win32::testing::HasRegValue(key, name); }
  bool RemoveKey() { return win32::testing::DeleteKey(key); }

  // Wine keeps no archive bit on a folder.
  static bool CanMake(std::uint32_t attrs) {
    const std::uint32_t folderArchive = platform::kAttrDirectory | platform::kAttrArchive;
    return (attrs & folderArchive) != folderArchive;
  }
  bool AddFolder(const std::string& rel, std::uint32_t attrs = platform::kAttrDirectory) {
    const std::string path = root + rel;
    return win32::testing::MakeFolder(path) &&
           (attrs == platform::kAttrDirectory || win32::testing::SetAttributes(path, attrs));
  }
  bool AddFile(const std::string& rel, const std::string& content,
               std::uint32_t attrs = platform::kAttrArchive) {
    const std::string path = root + rel;
    return win32::testing::MakeFile(path, content) &&
           (attrs == platform::kAttrArchive || win32::testing::SetAttributes(path, attrs));
  }
  bool AddHardLink(const std::string& rel, const std::string& existingRel) {
    return win32::testing::MakeHardLink(root + rel, root + existingRel);
  }
  bool SetAttributes(const std::string& rel, std::uint32_t attrs) {
    return win32::testing::SetAttributes(root + rel, attrs);
  }
  // A unix link lives beside its target's relative path: "..\" climbs out of
  // the link's own folder back to the test folder.
  bool AddLink(const std::string& rel, const std::string& targetRel) {
    const std::size_t cut = rel.find_last_of('\\');
    const std::string folder = cut == std::string::npos ? "" : rel.substr(0, cut + 1);
    std::string up;
    for (char c : folder)
      if (c == '\\') up += "..\\";
    return win32::testing::MakeUnixLink(root + folder, rel.substr(folder.size()), up + targetRel);
  }
  bool AddFolderLink(const std::string& rel, const std::string& targetRel) {
    return AddLink(rel, targetRel);
  }
  bool Remove(const std::string& rel) { return win32::testing::RemoveTree(root + rel); }
  bool Rename(const std::string& rel, const std::string& newRel) {
    return win32::testing::Rename(root + rel, root + newRel);
  }
  bool Exists(const std::string& rel) const { return win32::testing::Exists(root + rel); }
  std::string Content(const std::string& rel) const {
    return win32::testing::ReadAll(root + rel).value_or("");
  }
  std::shared_ptr<void> Hold(const std::string& rel) {
    auto held = std::make_shared<win32::testing::HeldFile>(root + rel);
    return held->ok() ? held : nullptr;
  }
  std::shared_ptr<void> HoldSharing(const std::string& rel) {
    auto held = std::make_shared<win32::testing::HeldFile>(root + rel, true);
    return held->ok() ? held : nullptr;
  }
};

// The check that Windows gets, run under Wine. It decides plain files, hard
// links and folder links here as on Windows; a link to a file it cannot tell
// under Wine, which opens such a link as its target and shows no reparse bit
// (on Windows the open is the link itself), so those cases are left out.
struct Win32HandleCheckBackend : Win32Backend {
  static constexpr const char* kName = "Win32HandleCheck";
  static constexpr bool kTellsFileLinks = false;
  Win32HandleCheckBackend() : Win32Backend(win32::LinkCheck::Handle) {}
};

}  // namespace veltrane::contract

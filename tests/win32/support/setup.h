#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

// Set-up for the tests of the Win32 layer, done straight through the Windows
// API so that the layer under test plays no part in it. Paths are UTF-8.
// Every function returns false when the set-up could not be made.
namespace veltrane::win32::testing {

// HKEY_CURRENT_USER keys. ResetKey deletes the key with everything below it
// and makes it again, empty.
bool ResetKey(const std::string& path);
bool DeleteKey(const std::string& path);
bool SetRegBytes(const std::string& path, const std::string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& bytes);
// The text stored as UTF-16, with or without its terminating NUL.
bool SetRegText(const std::string& path, const std::string& name, std::uint32_t type,
                const std::string& text, bool withNul);
bool HasRegValue(const std::string& path, const std::string& name);

bool MakeFolder(const std::string& path);
bool MakeFile(const std::string& path, const std::string& content);
// Hidden, system and archive through SetFileAttributesW; read-only too for a
// file. Wine keeps a folder's read-only bit only as its unix permission, so
// for a folder that bit is set with chmod.
bool SetAttributes(const std::string& path, std::uint32_t attributes);
bool MakeHardLink(const std::string& path, const std::string& existing);
// A file or folder moved to another name.
bool Rename(const std::string& from, const std::string& to);
// A unix symbolic link named `name` in `folder`, pointing at `target` as
// given (relative to the folder). Works under Wine only: it runs ln.
bool MakeUnixLink(const std::string& folder, const std::string& name, const std::string& target);
// Removes a folder tree without following links (unix rm, under Wine).
bool RemoveTree(const std::string& folder);
std::optional<std::string> ReadAll(const std::string& path);
bool Exists(const std::string& path);

// Another handle on a file, opened for reading and sharing reading only, as
// a program that holds the file would (or, with `shareAll`, as a reader that
// lets others write and delete); closed with the object.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path, bool shareAll = false);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool ok() const;

 private:
  std::uintptr_t handle_;
};

// The calling thread's message queue.
void PostToSelf(unsigned message);
bool QueueHolds(unsigned message);
void SleepMs(unsigned ms);

// A visible top-level window with a title; destroyed with the object.
class TitledWindow {
 public:
  explicit TitledWindow(const std::string& title);
  ~TitledWindow();
  TitledWindow(const TitledWindow&) = delete;
  TitledWindow& operator=(const TitledWindow&) = delete;
  platform::WindowHandle handle() const { return handle_; }

 private:
  platform::WindowHandle handle_;
};

}  // namespace veltrane::win32::testing

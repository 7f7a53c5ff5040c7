#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace veltrane::platform {

// Attribute word bits as Windows reports them.
constexpr std::uint32_t kAttrReadOnly = 0x1, kAttrHidden = 0x2, kAttrSystem = 0x4,
                        kAttrDirectory = 0x10, kAttrArchive = 0x20, kAttrReparsePoint = 0x400;

// Whether a listing with `filter` yields an entry of these attributes: each of
// its hidden, system and folder bits must also be set in the filter
// (read-only and archive play no part).
inline bool PassesFilter(std::uint32_t attributes, std::uint32_t filter) {
  constexpr std::uint32_t kSelecting = kAttrHidden | kAttrSystem | kAttrDirectory;
  return (attributes & kSelecting & ~filter) == 0;
}

// Which folder a handle or a listing reached: its volume and its file id.
// Two folders with the same identity are one, whatever their paths.
struct FolderId {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool operator==(const FolderId&) const = default;
};

// The folders a scan listed, by the path it listed each under (ending in "\").
using WalkedFolders = std::map<std::string, FolderId>;

struct DirEntry {
  std::string name;          // bare name, no path
  std::uint32_t attributes;  // the attribute word as the listing reported it
};

// One directory listing. Each listing is its own object with its own position,
// so a walk nested inside another (a click handled while events run) cannot
// move the outer one.
class DirListing {
 public:
  virtual ~DirListing() = default;
  // The next entry, or false after the last one.
  virtual bool Next(DirEntry& entry) = 0;
  // The folder the entries come from; nothing when it could not be listed.
  virtual std::optional<FolderId> Folder() const = 0;
};

// A file opened to be erased. Its name is marked to go before anything is
// written, and goes when the target closes, also when the program ends or is
// killed first: an erase cut short never leaves a partly overwritten file
// under its name. Other programs that hold the file and let it be written and
// deleted may go on holding it; the opening never truncates it.
class WipeTarget {
 public:
  enum class Kind { Plain, Link, HardLinked };
  virtual ~WipeTarget() = default;  // closes, as Close does
  // Plain: a file with one name. Link: a symbolic link, junction or other
  // reparse point, which must be removed as a link and never written through.
  // HardLinked: a file with further names, whose bytes those names still need.
  virtual Kind kind() const = 0;
  virtual std::uint64_t Length() = 0;
  virtual bool Rewind() = 0;                           // back to offset 0
  virtual bool Write(const char* data, std::size_t n) = 0;
  virtual bool Flush() = 0;                            // to disk, at the end of a pass
  // Lets the file go, and its name with it (for a link, the link itself).
  // False when the name is still there.
  virtual bool Close() = 0;
};

// A file opened for reading as a byte stream.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Up to n bytes; 0 at the end of the file or on a failed read.
  virtual std::size_t Read(char* buffer, std::size_t n) = 0;
};

// Where files may be erased. A file that cannot be deleted, or lies outside
// what the place allows, stays: false, or null, and nothing changed.
class EraseScope {
 public:
  virtual ~EraseScope() = default;
  // Deletes one file (a link as a link). False when it is missing, read-only,
  // held open without leave to delete, or not ours to delete.
  virtual bool Delete(const std::string& path) = 0;
  // Opens an existing file to erase it, its name already marked to go (see
  // WipeTarget). Null, with nothing written or changed, when it is missing or
  // a folder, when it cannot be both written and marked (read-only, held by
  // another program without leave to write or delete it, no rights), or when
  // whether its name is a link cannot be told. Creates nothing.
  virtual std::unique_ptr<WipeTarget> OpenToErase(const std::string& path) = 0;
};

// The file system as the program uses it. Paths are full, UTF-8, with "\" as
// the separator; a folder path ends in "\". As an EraseScope it reaches any
// file by its path, links on the way followed.
class FileSystem : public EraseScope {
 public:
  virtual ~FileSystem() = default;
  // The entries of one folder that pass the filter (PassesFilter). Filter 0
  // gives the plain files;
  // filter 20 adds folders (with "." and ".."), and system entries. Never
  // null: a folder that cannot be listed gives an empty listing.
  virtual std::unique_ptr<DirListing> List(const std::string& folder, std::uint32_t filter) = 0;
  // The attribute word of a path, or nothing when it cannot be queried.
  virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
  // The files a scan found below `root` (a folder path), and no others: a
  // file is reached only in the very folder the scan listed it from, from the
  // root down through no link, each folder on the way the one `walked` holds
  // under that path. The root itself is reached by its path, links and all,
  // and must be the folder the scan listed there. The scope checks each
  // folder once, however many files it holds.
  virtual std::unique_ptr<EraseScope> Within(const std::string& root, WalkedFolders walked) = 0;
  // Opens a file for reading; null when it cannot be opened.
  virtual std::unique_ptr<ByteStream> OpenRead(const std::string& path) = 0;
};

}  // namespace veltrane::platform

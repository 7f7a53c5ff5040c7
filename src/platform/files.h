#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace veltrane::platform {

// Attribute word bits as Windows reports them.
constexpr std::uint32_t kAttrReadOnly = 0x1, kAttrHidden = 0x2, kAttrSystem = 0x4,
                        kAttrDirectory = 0x10, kAttrArchive = 0x20, kAttrReparsePoint = 0x400;

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
};

// A file opened to be erased. Its name is marked to go before anything is
// written, and goes when the target closes, also when the program ends or is
// killed first: an erase cut short never leaves a partly overwritten file
// under its name. Shared with nobody, never truncated by the opening.
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

// The file system as the program uses it. Paths are full, UTF-8, with "\" as
// the separator; a folder path ends in "\".
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The entries of one folder that pass the filter: an entry is yielded when
  // each of its hidden, system and folder bits is also set in the filter
  // (read-only and archive play no part). Filter 0 gives the plain files;
  // filter 20 adds folders (with "." and ".."), and system entries. Never
  // null: a folder that cannot be listed gives an empty listing.
  virtual std::unique_ptr<DirListing> List(const std::string& folder, std::uint32_t filter) = 0;
  // The attribute word of a path, or nothing when it cannot be queried.
  virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
  // Deletes one file (a link as a link). False when it is missing, read-only,
  // held open without leave to delete, or not ours to delete.
  virtual bool Delete(const std::string& path) = 0;
  // Opens an existing file to erase it, its name already marked to go (see
  // WipeTarget). Null, with nothing written or changed, when it is missing or
  // a folder, when it cannot be both written and marked (read-only, locked, no
  // rights), or when whether its name is a link cannot be told. Creates nothing.
  virtual std::unique_ptr<WipeTarget> OpenToErase(const std::string& path) = 0;
  // Opens a file for reading; null when it cannot be opened.
  virtual std::unique_ptr<ByteStream> OpenRead(const std::string& path) = 0;
};

}  // namespace veltrane::platform

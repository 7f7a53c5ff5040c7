#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace veltrane::fake {

// An in-memory tree of files that behaves as Windows (and Wine) does for
// what the program asks: attribute words, the listing filter with "." and
// ".." first, names without regard to case, read-only and locked files that
// cannot be deleted or opened for a wipe, links and hard links. Paths are
// full ("C:\a\b.txt"); a folder path ends in "\".
class FakeFileSystem : public platform::FileSystem {
 public:
  // One step a wipe target took on a path, in order.
  struct WipeOp {
    enum class Kind { Rewind, Write, Flush };
    Kind kind;
    std::uint64_t offset = 0;  // where a write began
    std::size_t length = 0;    // bytes a write was given
    bool zeros = false;        // every byte written was the character '0'
    bool ok = true;
  };
  struct ListCall {
    std::string folder;
    std::uint32_t filter;
  };

  FakeFileSystem();
  ~FakeFileSystem() override;

  // Set-up. Missing parent folders are made with attribute 16.
  void AddFolder(const std::string& path, std::uint32_t attrs = platform::kAttrDirectory);
  void AddFile(const std::string& path, std::string content,
               std::uint32_t attrs = platform::kAttrArchive);
  // A symbolic link to a file: listed as a plain file (0x20), as Wine does;
  // while its target is missing, not listed and not found at all.
  void AddLink(const std::string& path, const std::string& targetPath);
  // A symbolic link to a folder: attribute 0x410; listing it lists the target.
  void AddFolderLink(const std::string& path, const std::string& targetFolder);
  // A further name of an existing file; the content is shared.
  void AddHardLink(const std::string& path, const std::string& existingPath);
  void SetAttributes(const std::string& path, std::uint32_t attrs);
  // Held open by another program without leave to share or delete.
  void SetLocked(const std::string& path, bool locked);
  // Held open by another program that lets others read, write and delete
  // it: a deletion then takes the name when the last holder lets go.
  void SetHeldSharing(const std::string& path, bool held);
  // Moves a file or folder (with everything below it) to another name.
  void Rename(const std::string& from, const std::string& to);
  // The file's length becomes `length` without its bytes being held; writes
  // to it are recorded but not kept, so gigabyte lengths cost nothing.
  void SetVirtualLength(const std::string& path, std::uint64_t length);
  // A write through a wipe target that would end past `limit` fails (disk full).
  void SetWriteLimit(const std::string& path, std::uint64_t limit);
  void Remove(const std::string& path);  // a folder with everything below it
  // Listing order of a folder: these names first, in this order, then the
  // rest in the order they were added.
  void SetOrder(const std::string& folder, std::vector<std::string> names);
  // Called with the folder path when a listing starts, before it is read.
  void SetOnList(std::function<void(const std::string& folder)> hook) { onList_ = std::move(hook); }

  bool Exists(const std::string& path) const;
  // The bytes under the name (through a link, the target's); "" when missing.
  std::string Content(const std::string& path) const;
  std::optional<std::uint64_t> Length(const std::string& path) const;
  const std::vector<WipeOp>& WipeOps(const std::string& path) const;
  int WipeOpens(const std::string& path) const;
  const std::vector<ListCall>& ListCalls() const { return listCalls_; }
  int OpenHandles() const { return openHandles_; }
  std::string ToString() const;

  std::unique_ptr<platform::DirListing> List(const std::string& folder, std::uint32_t filter) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::unique_ptr<platform::WipeTarget> OpenToErase(const std::string& path) override;
  std::unique_ptr<platform::EraseScope> Within(const std::string& root,
                                               platform::WalkedFolders walked) override;
  std::unique_ptr<platform::ByteStream> OpenRead(const std::string& path) override;

  struct Data;
  struct Node;

 private:
  class Target;
  class Scope;

  Node* Find(const std::string& path) const;
  bool Dangling(const Node& node) const;
  bool Locked(const Node& node) const;
  Node* FollowLinks(Node* node) const;
  Node& Make(const std::string& path, bool folder);
  void Detach(Node& node);
  // The name goes now, or when the last holder that shares it lets go.
  void Unlink(Node& node);
  void DumpTree(const Node& node, const std::string& path, std::string& out) const;

  std::unique_ptr<Node> top_;  // holds the drives
  std::function<void(const std::string&)> onList_;
  std::vector<ListCall> listCalls_;
  std::map<std::string, std::vector<WipeOp>> wipeOps_;  // by folded path
  std::map<std::string, int> wipeOpens_;
  int openHandles_ = 0;
  std::uint64_t nextId_ = 1;
};

}  // namespace veltrane::fake

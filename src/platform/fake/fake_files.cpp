#include "platform/fake/fake_files.h"

#include <algorithm>
#include <cstring>

#include "platform/fake/fold_case.h"

namespace veltrane::fake {

using platform::DirEntry;
using platform::WipeTarget;

struct FakeFileSystem::Data {
  std::string content;
  std::optional<std::uint64_t> virtualLength;
  std::optional<std::uint64_t> writeLimit;
  int names = 1;  // hard links sharing these bytes

  std::uint64_t Length() const { return virtualLength ? *virtualLength : content.size(); }
};

struct FakeFileSystem::Node {
  std::string name;
  std::uint32_t attrs = 0;
  bool folder = false;
  bool isLink = false;
  std::string linkTarget;
  bool locked = false;
  bool held = false;  // open for a wipe by this program
  int sharingHolders = 0;  // other programs holding it, sharing everything
  bool deletePending = false;
  std::uint64_t id = 0;
  std::shared_ptr<Data> data;
  std::vector<std::shared_ptr<Node>> children;
  Node* parent = nullptr;

  Node* Child(const std::string& childName) const {
    std::string folded = FoldCase(childName);
    for (const auto& c : children)
      if (FoldCase(c->name) == folded) return c.get();
    return nullptr;
  }
};

namespace {

std::vector<std::string> Parts(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool EndsInSeparator(const std::string& path) { return !path.empty() && path.back() == '\\'; }

// memcmp against a block of '0' keeps gigabyte wipes of virtual files quick.
bool AllZeroCharacters(const char* bytes, std::size_t n) {
  static const std::string block(65536, '0');
  for (std::size_t done = 0; done < n; done += block.size()) {
    std::size_t part = std::min(block.size(), n - done);
    if (std::memcmp(bytes + done, block.data(), part) != 0) return false;
  }
  return true;
}

class SnapshotListing : public platform::DirListing {
 public:
  SnapshotListing(std::vector<DirEntry> entries, std::optional<platform::FolderId> folder)
      : entries_(std::move(entries)), folder_(folder) {}
  bool Next(DirEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }
  std::optional<platform::FolderId> Folder() const override { return folder_; }

 private:
  std::vector<DirEntry> entries_;
  std::optional<platform::FolderId> folder_;
  std::size_t next_ = 0;
};

constexpr std::uint64_t kVolume = 1;

std::optional<platform::FolderId> Identity(const FakeFileSystem::Node* folder) {
  if (!folder) return std::nullopt;
  return platform::FolderId{kVolume, folder->id};
}

class StringStream : public platform::ByteStream {
 public:
  explicit StringStream(std::string bytes) : bytes_(std::move(bytes)) {}
  std::size_t Read(char* buffer, std::size_t n) override {
    std::size_t count = std::min(n, bytes_.size() - next_);
    std::copy_n(bytes_.data() + next_, count, buffer);
    next_ += count;
    return count;
  }

 private:
  std::string bytes_;
  std::size_t next_ = 0;
};

}  // namespace

class FakeFileSystem::Target : public WipeTarget {
 public:
  Target(FakeFileSystem& fs, std::shared_ptr<Node> node, std::string key, Kind kind)
      : fs_(fs), node_(std::move(node)), key_(std::move(key)), kind_(kind) {
    node_->held = true;
    ++fs_.openHandles_;
    ++fs_.wipeOpens_[key_];
  }
  ~Target() override { Close(); }  // as when the program ends with the file open
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  Kind kind() const override { return kind_; }
  std::uint64_t Length() override {
    Data* data = Bytes();
    return data ? data->Length() : 0;
  }
  // A link is never written through, as the Win32 target refuses it too.
  bool Rewind() override {
    if (!Writable()) return false;
    position_ = 0;
    Log({WipeOp::Kind::Rewind});
    return true;
  }
  bool Write(const char* bytes, std::size_t n) override {
    WipeOp op{WipeOp::Kind::Write, position_, n};
    op.zeros = AllZeroCharacters(bytes, n);
    Data* data = Writable() ? Bytes() : nullptr;
    op.ok = data && !(data->writeLimit && position_ + n > *data->writeLimit);
    Log(op);
    if (!op.ok) return false;
    if (data->virtualLength) {
      data->virtualLength = std::max(*data->virtualLength, position_ + n);
    } else {
      if (data->content.size() < position_ + n) data->content.resize(position_ + n);
      std::copy_n(bytes, n, data->content.begin() + static_cast<std::ptrdiff_t>(position_));
    }
    position_ += n;
    return true;
  }
  bool Flush() override {
    if (!Writable()) return false;
    Log({WipeOp::Kind::Flush});
    return true;
  }
  // The name was marked to go at the opening: it goes now, with the file,
  // or when the last program that shares it lets go.
  bool Close() override {
    if (!open_) return false;
    Release();
    if (!node_->parent) return false;
    fs_.Unlink(*node_);
    return true;
  }

 private:
  bool Writable() const { return open_ && kind_ != Kind::Link; }
  // The bytes behind the name: through a link, the target's (for its length).
  Data* Bytes() const {
    if (!node_->parent) return nullptr;
    if (!node_->isLink) return node_->data.get();
    Node* target = fs_.Find(node_->linkTarget);
    return target && !target->folder ? target->data.get() : nullptr;
  }
  void Log(const WipeOp& op) { fs_.wipeOps_[key_].push_back(op); }
  void Release() {
    open_ = false;
    node_->held = false;
    --fs_.openHandles_;
  }

  FakeFileSystem& fs_;
  std::shared_ptr<Node> node_;
  std::string key_;
  Kind kind_;
  std::uint64_t position_ = 0;
  bool open_ = true;
};

// Walks from the root down to the file's folder at every call: the fake has
// no handles to keep, and nothing changes under it between two lines.
class FakeFileSystem::Scope : public platform::EraseScope {
 public:
  Scope(FakeFileSystem& fs, std::string root, platform::WalkedFolders walked)
      : fs_(fs), root_(std::move(root)), walked_(std::move(walked)) {}

  bool Delete(const std::string& path) override { return Allows(path) && fs_.Delete(path); }
  std::unique_ptr<WipeTarget> OpenToErase(const std::string& path) override {
    return Allows(path) ? fs_.OpenToErase(path) : nullptr;
  }

 private:
  bool Walked(const std::string& folder, const Node* node) const {
    auto it = walked_.find(folder);
    return node && it != walked_.end() && it->second == Identity(node);
  }
  // The root may be reached through links; below it, no folder may be one.
  bool Allows(const std::string& path) const {
    if (path.size() <= root_.size() || path.compare(0, root_.size(), root_) != 0) return false;
    Node* node = fs_.FollowLinks(fs_.Find(root_));
    if (!node || !node->folder || !Walked(root_, node)) return false;
    std::string folder = root_;
    for (std::size_t at = root_.size(), cut; (cut = path.find('\\', at)) != std::string::npos; at = cut + 1) {
      node = node->Child(path.substr(at, cut - at));
      folder = path.substr(0, cut + 1);
      if (!node || !node->folder || node->isLink || !Walked(folder, node)) return false;
    }
    return true;
  }

  FakeFileSystem& fs_;
  std::string root_;
  platform::WalkedFolders walked_;
};

FakeFileSystem::FakeFileSystem() : top_(std::make_unique<Node>()) { top_->folder = true; }
FakeFileSystem::~FakeFileSystem() = default;

// Wine 8 opens a link to a file as its target, so a program holding the
// target locks the link too.
bool FakeFileSystem::Locked(const Node& node) const {
  if (node.locked || node.held) return true;
  if (!node.isLink || node.folder) return false;
  const Node* target = Find(node.linkTarget);
  return target && (target->locked || target->held);
}

// Wine 8 neither lists a link to a file that is gone nor can it query or
// open one: the name is as good as missing.
bool FakeFileSystem::Dangling(const Node& node) const {
  if (!node.isLink || node.folder) return false;
  const Node* target = Find(node.linkTarget);
  return !target || target->folder;
}

FakeFileSystem::Node* FakeFileSystem::FollowLinks(Node* node) const {
  for (int hops = 0; node && node->isLink && node->folder && hops < 32; ++hops)
    node = Find(node->linkTarget);
  return node && node->isLink && node->folder ? nullptr : node;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) const {
  std::vector<std::string> parts = Parts(path);
  if (parts.empty()) return nullptr;
  Node* node = top_.get();
  for (const std::string& part : parts) {
    node = FollowLinks(node);
    if (!node || !node->folder) return nullptr;
    node = node->Child(part);
    if (!node) return nullptr;
  }
  if (EndsInSeparator(path) && !node->folder) return nullptr;
  return node;
}

FakeFileSystem::Node& FakeFileSystem::Make(const std::string& path, bool folder) {
  std::vector<std::string> parts = Parts(path);
  Node* node = top_.get();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    bool last = i + 1 == parts.size();
    Node* child = node->Child(parts[i]);
    if (!child) {
      auto made = std::make_shared<Node>();
      made->name = parts[i];
      made->folder = !last || folder;
      made->attrs = made->folder ? platform::kAttrDirectory : platform::kAttrArchive;
      made->parent = node;
      made->id = nextId_++;
      if (!made->folder) made->data = std::make_shared<Data>();
      child = made.get();
      node->children.push_back(std::move(made));
    }
    node = child;
  }
  return *node;
}

void FakeFileSystem::Detach(Node& node) {
  if (!node.parent) return;
  auto& siblings = node.parent->children;
  auto keep = std::find_if(siblings.begin(), siblings.end(),
                           [&](const auto& c) { return c.get() == &node; });
  std::shared_ptr<Node> alive = *keep;
  siblings.erase(keep);
  node.parent = nullptr;
  std::function<void(Node&)> drop = [&](Node& n) {
    if (n.data) --n.data->names;
    for (auto& c : n.children) drop(*c);
  };
  drop(node);
}

void FakeFileSystem::Unlink(Node& node) {
  if (node.sharingHolders > 0) {
    node.deletePending = true;
    return;
  }
  Detach(node);
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attrs) {
  Node& node = Make(path, true);
  node.attrs = attrs;
}

void FakeFileSystem::AddFile(const std::string& path, std::string content, std::uint32_t attrs) {
  if (Node* old = Find(path)) Detach(*old);
  Node& node = Make(path, false);
  node.attrs = attrs;
  node.data->content = std::move(content);
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& targetPath) {
  if (Node* old = Find(path)) Detach(*old);
  Node& node = Make(path, false);
  node.isLink = true;
  node.linkTarget = targetPath;
  node.data.reset();
}

void FakeFileSystem::AddFolderLink(const std::string& path, const std::string& targetFolder) {
  Node& node = Make(path, true);
  node.isLink = true;
  node.linkTarget = targetFolder;
  node.attrs = platform::kAttrDirectory | platform::kAttrReparsePoint;
}

void FakeFileSystem::AddHardLink(const std::string& path, const std::string& existingPath) {
  Node* existing = Find(existingPath);
  if (!existing || !existing->data) return;
  std::shared_ptr<Data> shared = existing->data;
  std::uint32_t attrs = existing->attrs;
  if (Node* old = Find(path)) Detach(*old);
  Node& node = Make(path, false);
  node.data = shared;
  node.attrs = attrs;
  ++shared->names;
}

void FakeFileSystem::SetAttributes(const std::string& path, std::uint32_t attrs) {
  if (Node* node = Find(path)) node->attrs = attrs;
}

void FakeFileSystem::SetLocked(const std::string& path, bool locked) {
  if (Node* node = Find(path)) node->locked = locked;
}

void FakeFileSystem::SetHeldSharing(const std::string& path, bool held) {
  Node* node = Find(path);
  if (!node) return;
  node->sharingHolders += held ? 1 : -1;
  if (node->sharingHolders == 0 && node->deletePending) Detach(*node);
}

void FakeFileSystem::Rename(const std::string& from, const std::string& to) {
  Node* node = Find(from);
  if (!node || !node->parent || Find(to)) return;
  std::vector<std::string> parts = Parts(to);
  if (parts.empty()) return;
  const std::string parentPath = to.substr(0, to.find_last_of('\\', to.size() - 2) + 1);
  Node& parent = parentPath.empty() ? *top_ : Make(parentPath, true);
  auto& siblings = node->parent->children;
  auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == node; });
  std::shared_ptr<Node> moved = *it;
  siblings.erase(it);
  moved->name = parts.back();
  moved->parent = &parent;
  parent.children.push_back(std::move(moved));
}

void FakeFileSystem::SetVirtualLength(const std::string& path, std::uint64_t length) {
  Node* node = Find(path);
  if (node && node->data) {
    node->data->content.clear();
    node->data->virtualLength = length;
  }
}

void FakeFileSystem::SetWriteLimit(const std::string& path, std::uint64_t limit) {
  Node* node = Find(path);
  if (node && node->data) node->data->writeLimit = limit;
}

void FakeFileSystem::Remove(const std::string& path) {
  if (Node* node = Find(path)) Detach(*node);
}

void FakeFileSystem::SetOrder(const std::string& folder, std::vector<std::string> names) {
  Node* node = Find(folder);
  if (!node || !node->folder) return;
  std::vector<std::shared_ptr<Node>> ordered;
  for (const std::string& name : names) {
    std::string folded = FoldCase(name);
    auto it = std::find_if(node->children.begin(), node->children.end(),
                           [&](const auto& c) { return FoldCase(c->name) == folded; });
    if (it == node->children.end()) continue;
    ordered.push_back(*it);
    node->children.erase(it);
  }
  for (auto& rest : node->children) ordered.push_back(rest);
  node->children = std::move(ordered);
}

bool FakeFileSystem::Exists(const std::string& path) const { return Find(path) != nullptr; }

std::string FakeFileSystem::Content(const std::string& path) const {
  Node* node = Find(path);
  if (node && node->isLink && !node->folder) node = Find(node->linkTarget);
  return node && node->data ? node->data->content : std::string();
}

std::optional<std::uint64_t> FakeFileSystem::Length(const std::string& path) const {
  Node* node = Find(path);
  if (node && node->isLink && !node->folder) node = Find(node->linkTarget);
  if (!node || !node->data) return std::nullopt;
  return node->data->Length();
}

const std::vector<FakeFileSystem::WipeOp>& FakeFileSystem::WipeOps(const std::string& path) const {
  static const std::vector<WipeOp> none;
  auto it = wipeOps_.find(FoldCase(path));
  return it == wipeOps_.end() ? none : it->second;
}

int FakeFileSystem::WipeOpens(const std::string& path) const {
  auto it = wipeOpens_.find(FoldCase(path));
  return it == wipeOpens_.end() ? 0 : it->second;
}

std::unique_ptr<platform::DirListing> FakeFileSystem::List(const std::string& folder,
                                                           std::uint32_t filter) {
  listCalls_.push_back(ListCall{folder, filter});
  if (onList_) onList_(folder);
  std::vector<DirEntry> entries;
  Node* node = EndsInSeparator(folder) ? FollowLinks(Find(folder)) : nullptr;
  if (node && node->folder) {
    if (platform::PassesFilter(platform::kAttrDirectory, filter)) {
      entries.push_back({".", platform::kAttrDirectory});
      entries.push_back({"..", platform::kAttrDirectory});
    }
    for (const auto& child : node->children)
      if (platform::PassesFilter(child->attrs, filter) && !Dangling(*child))
        entries.push_back({child->name, child->attrs});
  }
  return std::make_unique<SnapshotListing>(std::move(entries),
                                           node && node->folder ? Identity(node) : std::nullopt);
}

std::optional<std::uint32_t> FakeFileSystem::Attributes(const std::string& path) {
  Node* node = Find(path);
  if (!node || Dangling(*node)) return std::nullopt;
  return node->attrs;
}

bool FakeFileSystem::Delete(const std::string& path) {
  Node* node = Find(path);
  if (!node || Dangling(*node) || node->folder || Locked(*node)) return false;
  if (node->attrs & platform::kAttrReadOnly) return false;
  Unlink(*node);
  return true;
}

std::unique_ptr<WipeTarget> FakeFileSystem::OpenToErase(const std::string& path) {
  Node* node = Find(path);
  if (!node || Dangling(*node) || node->folder || Locked(*node)) return nullptr;
  if (node->attrs & platform::kAttrReadOnly) return nullptr;
  WipeTarget::Kind kind = node->isLink            ? WipeTarget::Kind::Link
                          : node->data->names > 1 ? WipeTarget::Kind::HardLinked
                                                  : WipeTarget::Kind::Plain;
  auto& siblings = node->parent->children;
  auto shared = *std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& c) { return c.get() == node; });
  return std::make_unique<Target>(*this, shared, FoldCase(path), kind);
}

std::unique_ptr<platform::EraseScope> FakeFileSystem::Within(const std::string& root,
                                                             platform::WalkedFolders walked) {
  return std::make_unique<Scope>(*this, root, std::move(walked));
}

std::unique_ptr<platform::ByteStream> FakeFileSystem::OpenRead(const std::string& path) {
  Node* node = Find(path);
  if (node && node->isLink && !node->folder) node = Find(node->linkTarget);
  if (!node || node->folder || node->locked || node->held) return nullptr;
  return std::make_unique<StringStream>(node->data->content);
}

void FakeFileSystem::DumpTree(const Node& node, const std::string& path, std::string& out) const {
  static const struct {
    std::uint32_t bit;
    const char* word;
  } kWords[] = {{platform::kAttrReadOnly, "readonly"}, {platform::kAttrHidden, "hidden"},
                {platform::kAttrSystem, "system"},     {platform::kAttrDirectory, "folder"},
                {platform::kAttrArchive, "archive"},   {platform::kAttrReparsePoint, "reparse"}};
  for (const auto& child : node.children) {
    std::string childPath = path + child->name + (child->folder ? "\\" : "");
    out += childPath + "  " + std::to_string(child->attrs) + " [";
    const char* gap = "";
    for (const auto& w : kWords) {
      if (child->attrs & w.bit) {
        out += gap;
        out += w.word;
        gap = " ";
      }
    }
    out += "]";
    if (child->isLink) out += " -> " + child->linkTarget;
    if (child->data) {
      out += " " + std::to_string(child->data->Length()) + " bytes";
      if (child->data->names > 1) out += ", " + std::to_string(child->data->names) + " names";
    }
    if (child->locked) out += " locked";
    if (child->sharingHolders > 0) out += " held by others";
    if (child->deletePending) out += " deletion pending";
    if (child->held) out += " open";
    out += "\n";
    if (child->folder && !child->isLink) DumpTree(*child, childPath, out);
  }
}

std::string FakeFileSystem::ToString() const {
  std::string out;
  DumpTree(*top_, "", out);
  return out.empty() ? "(no files)\n" : out;
}

}  // namespace veltrane::fake

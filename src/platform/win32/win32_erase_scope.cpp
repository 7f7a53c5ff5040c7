#include "platform/win32/win32_erase_scope.h"

#include <vector>

#include "platform/win32/exact_path.h"
#include "platform/win32/nt_file.h"
#include "platform/win32/opened_file.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_wipe_target.h"

namespace veltrane::win32 {

namespace {

std::wstring WithSeparator(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

// Files go only in folders the scan listed, reached from the root one
// folder at a time, each opened in the one above it, never through a link,
// and each the very folder the scan listed under that path. The folders from
// the root to the last file's are kept open: the next file, mostly in the
// same folder, costs no further check, and a refused folder refuses every
// file below it without a second try.
class Win32EraseScope : public platform::EraseScope {
 public:
  Win32EraseScope(std::string root, platform::WalkedFolders walked, LinkCheck check)
      : root_(std::move(root)), walked_(std::move(walked)), check_(check) {}

  bool Delete(const std::string& path) override {
    std::wstring name;
    const HeldFolder* folder = FolderOf(path, name);
    return folder && DeleteIn(*folder, name, check_);
  }

  std::unique_ptr<platform::WipeTarget> OpenToErase(const std::string& path) override {
    std::wstring name;
    const HeldFolder* folder = FolderOf(path, name);
    return folder ? OpenWipeTarget(*folder, name, check_) : nullptr;
  }

 private:
  struct Step {
    std::string path;  // as the scan listed it, ending in "\"
    HeldFolder folder;  // no handle: refused, and everything below it
  };

  bool Walked(const std::string& path, HANDLE h) const {
    const auto it = walked_.find(path);
    return it != walked_.end() && IdentityOf(h, check_) == it->second;
  }

  // The root by its path: links on the way to it, or the root itself a
  // link, are the user's own; it must still be the folder the scan listed.
  HeldFolder OpenRoot() const {
    const std::optional<std::wstring> exact = ExactPath(root_);
    if (!exact) return {};
    HeldFolder root = FolderAt(*exact, check_);
    if (!root.handle || !Walked(root_, root.handle.Get()) || (check_ == LinkCheck::FinalPath && root.held.empty()))
      return {};
    return root;
  }

  // A folder below the root: never a name-surrogate reparse point (a link,
  // a junction, a mount point), opened as itself on Windows; under Wine, which
  // opens a link's target, one whose held path is not its parent's and its
  // name. Wine holds a name less its trailing dots and blanks.
  HeldFolder OpenBelow(const HeldFolder& parent, const std::string& path, const std::string& name) const {
    const std::wstring wide = Widen(name);
    HeldFolder child{OpenIn(parent.handle.Get(), wide, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                            kShareAll, FILE_OPEN, FILE_DIRECTORY_FILE),
                     {}};
    if (!child.handle || IsReparseTagNameSurrogate(ReparseTagOf(child.handle.Get())) ||
        !Walked(path, child.handle.Get()))
      return {};
    if (check_ == LinkCheck::FinalPath) {
      child.held = WithSeparator(HeldPath(child.handle.Get()));
      if (!SamePath(child.held, parent.held + wide + L"\\") &&
          !SamePath(child.held, parent.held + WithoutTrailingDotsAndBlanks(wide) + L"\\"))
        return {};
    }
    return child;
  }

  // The open folder that holds `path`, and the file's name in it; null when
  // the path lies outside the root, names nothing (a NUL inside, see
  // ExactPath) or a folder on the way is refused.
  const HeldFolder* FolderOf(const std::string& path, std::wstring& name) {
    const std::size_t cut = path.rfind('\\');
    if (path.find('\0') != std::string::npos || path.size() <= root_.size() || path.compare(0, root_.size(), root_) != 0 || cut == std::string::npos ||
        cut + 1 < root_.size() || cut + 1 == path.size())
      return nullptr;
    const std::string folder = path.substr(0, cut + 1);
    while (!chain_.empty() && folder.compare(0, chain_.back().path.size(), chain_.back().path) != 0) chain_.pop_back();
    if (chain_.empty()) chain_.push_back({root_, OpenRoot()});
    while (chain_.back().folder.handle && chain_.back().path.size() < folder.size()) {
      const Step& parent = chain_.back();
      const std::size_t end = folder.find('\\', parent.path.size());
      const std::string below = folder.substr(0, end + 1);
      HeldFolder child = OpenBelow(parent.folder, below, folder.substr(parent.path.size(), end - parent.path.size()));
      chain_.push_back({below, std::move(child)});
    }
    if (!chain_.back().folder.handle) return nullptr;
    name = Widen(path.substr(cut + 1));
    return &chain_.back().folder;
  }

  std::string root_;
  platform::WalkedFolders walked_;
  LinkCheck check_;
  std::vector<Step> chain_;
};

}  // namespace

std::optional<platform::FolderId> IdentityOf(HANDLE folder, LinkCheck check) {
  if (check == LinkCheck::Handle) return VolumeAndFileIdOf(folder);
  const std::optional<std::uint64_t> id = FileIdOf(folder);
  if (!id) return std::nullopt;
  return platform::FolderId{0, *id};
}

HeldFolder FolderAt(const std::wstring& exactPath, LinkCheck check) {
  HeldFolder folder{OpenFolderByPath(exactPath), {}};
  if (folder.handle && check == LinkCheck::FinalPath) folder.held = WithSeparator(HeldPath(folder.handle.Get()));
  return folder;
}

// On Windows: open (the link itself, if the name is one), mark, close. Under
// Wine, where every call on a handle is a round trip to the wine server
// (~45 us here), one more for the link check (the path Wine holds for the
// handle): Wine 8 opens the target of a file link, gives no sign of the link
// by name, and unlinks what a marked handle resolved to, so the mark must
// never be set through a link. A folder fails the open (FILE_NON_DIRECTORY_FILE).
bool DeleteIn(const HeldFolder& folder, const std::wstring& name, LinkCheck check) {
  FileHandle file = OpenIn(folder.handle.Get(), name, DELETE | FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN,
                           FILE_NON_DIRECTORY_FILE);
  if (!file || BeingWiped(file.Get())) return false;
  switch (check == LinkCheck::Handle ? Reached::Name : ReachedIn(file.Get(), folder, name)) {
    case Reached::Name: {
      const bool marked = MarkForDeletion(file.Get());
      file.Reset();  // the name goes with the handle
      return marked;
    }
    case Reached::LinkTarget:
      file.Reset();
      return DeleteLinkIn(folder.handle.Get(), name);
    case Reached::Unknown:
      break;
  }
  return false;
}

std::unique_ptr<platform::EraseScope> MakeEraseScope(std::string root, platform::WalkedFolders walked,
                                                     LinkCheck check) {
  return std::make_unique<Win32EraseScope>(std::move(root), std::move(walked), check);
}

}  // namespace veltrane::win32

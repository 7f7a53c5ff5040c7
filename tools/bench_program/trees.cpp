#include "trees.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "platform/win32/handles.h"

namespace bench {

using veltrane::win32::FileHandle;

namespace {

void MakeFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr))
    throw std::runtime_error("cannot create a folder of the tree");
}

void MakeFile(const std::wstring& path, const std::string& content) {
  const FileHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) throw std::runtime_error("cannot create a file of the tree");
  DWORD written = 0;
  const bool ok = content.empty() ||
                  (WriteFile(h.Get(), content.data(), DWORD(content.size()), &written, nullptr) &&
                   written == content.size());
  if (!ok) throw std::runtime_error("cannot fill a file of the tree");
}

void MakeLevel(const std::wstring& folder, int fanout, int levelsLeft, int filesPerLeaf,
               std::vector<std::wstring>& leaves) {
  if (levelsLeft == 0) {
    for (int i = 0; i < filesPerLeaf; ++i) MakeFile(folder + L"f" + std::to_wstring(i) + L".txt", {});
    leaves.push_back(folder);
    return;
  }
  for (int i = 0; i < fanout; ++i) {
    const std::wstring sub = folder + L"d" + std::to_wstring(i) + L"\\";
    MakeFolder(sub);
    MakeLevel(sub, fanout, levelsLeft - 1, filesPerLeaf, leaves);
  }
}

}  // namespace

std::vector<std::wstring> MakeTree(const std::wstring& root, const TreeShape& shape) {
  MakeFolder(root);
  std::vector<std::wstring> leaves;
  MakeLevel(root, shape.fanout, shape.levels, shape.filesPerLeaf, leaves);
  return leaves;
}

std::vector<std::wstring> MakeFiles(const std::wstring& root, int count, std::size_t size) {
  MakeFolder(root);
  const std::string content(size, 'x');
  std::vector<std::wstring> paths;
  std::wstring folder;
  for (int i = 0; i < count; ++i) {
    if (i % 1000 == 0) {
      folder = root + L"g" + std::to_wstring(i / 1000) + L"\\";
      MakeFolder(folder);
    }
    paths.push_back(folder + L"f" + std::to_wstring(i) + L".dat");
    MakeFile(paths.back(), content);
  }
  return paths;
}

std::vector<std::wstring> MakeFlushedFiles(const std::wstring& root, const std::vector<std::size_t>& sizes) {
  MakeFolder(root);
  const std::string block(1 << 20, 'x');
  std::vector<std::wstring> paths;
  for (std::size_t size : sizes) {
    paths.push_back(root + L"w" + std::to_wstring(paths.size()) + L".dat");
    const FileHandle h(CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) throw std::runtime_error("cannot create a file to wipe");
    bool ok = true;
    for (std::size_t done = 0; ok && done < size;) {
      const DWORD n = DWORD(std::min(block.size(), size - done));
      DWORD written = 0;
      ok = WriteFile(h.Get(), block.data(), n, &written, nullptr) && written == n;
      done += n;
    }
    ok = ok && FlushFileBuffers(h.Get());
    if (!ok) throw std::runtime_error("cannot fill a file to wipe");
  }
  return paths;
}

}  // namespace bench

#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// `fanout` folders per level, `levels` deep, `filesPerLeaf` empty files in
// each deepest folder.
struct TreeShape {
  int fanout;
  int levels;
  int filesPerLeaf;
  std::size_t Files() const {
    std::size_t leaves = 1;
    for (int i = 0; i < levels; ++i) leaves *= std::size_t(fanout);
    return leaves * std::size_t(filesPerLeaf);
  }
};

// The tree the walk and the scan go through: 1,000 folders, 100,000 files.
constexpr TreeShape kBigTree{10, 3, 100};

// Returns the leaf folders, each ending in "\".
std::vector<std::wstring> MakeTree(const std::wstring& root, const TreeShape& shape);
// `count` files of `size` bytes each, spread over folders of at most 1000
// files, named under `root`. Returns their paths.
std::vector<std::wstring> MakeFiles(const std::wstring& root, int count, std::size_t size);

// One file per size under `root`, filled and flushed to disk, so that what
// is measured next does not also pay for writing back their creation.
// Returns their paths.
std::vector<std::wstring> MakeFlushedFiles(const std::wstring& root, const std::vector<std::size_t>& sizes);

}  // namespace bench

#pragma once
#include <string>
#include <vector>

namespace bench {

// A tree of `fanout` folders per level, `levels` deep, with `filesPerLeaf`
// empty files in each deepest folder. Returns the leaf folders, each ending in "\".
std::vector<std::wstring> MakeTree(const std::wstring& root, int fanout, int levels,
                                   int filesPerLeaf);
// `count` files of `size` bytes each, spread over folders of at most 1000
// files, named under `root`. Returns their paths.
std::vector<std::wstring> MakeFiles(const std::wstring& root, int count, std::size_t size);

}  // namespace bench

#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace veltrane {

// An ordered list of texts with positions 1 to N; position 0 exists, is empty
// and is never used. Readers that let events run between reads must go by
// position and copy the entry out: a nested action may rebuild the list, so a
// position can fall past its end and a reference would dangle.
class TraceList {
 public:
  TraceList() : items_(1) {}

  void Clear() { items_.assign(1, std::string()); }
  void Append(std::string text) { items_.push_back(std::move(text)); }
  std::size_t Count() const { return items_.size() - 1; }  // last position N

  // Entry at position 1..N, or nothing past the current end (or at 0).
  std::optional<std::string> At(std::size_t position) const {
    if (position == 0 || position >= items_.size()) return std::nullopt;
    return items_[position];
  }
  const std::string& operator[](std::size_t position) const { return items_.at(position); }
  std::string& operator[](std::size_t position) { return items_.at(position); }

 private:
  std::vector<std::string> items_;
};

}  // namespace veltrane

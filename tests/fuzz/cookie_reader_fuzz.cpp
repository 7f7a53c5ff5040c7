// libFuzzer target for the cookie-file reader; tools/fuzz builds and runs it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "windows/cookie_reader.h"

namespace {

// Serves the input in pieces whose sizes come from its first byte, so the
// fuzzer also explores reads that cut a CR LF pair or a field in two.
class PieceStream : public veltrane::platform::ByteStream {
 public:
  PieceStream(const std::uint8_t* data, std::size_t size, std::size_t step)
      : data_(data), size_(size), step_(step) {}
  std::size_t Read(char* buffer, std::size_t n) override {
    std::size_t count = std::min({n, step_, size_ - at_});
    std::memcpy(buffer, data_ + at_, count);
    at_ += count;
    return count;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_, step_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::size_t step = data[0] == 0 ? SIZE_MAX : data[0];
  PieceStream pieces(data + 1, size - 1, step);
  std::optional<std::string> domain = veltrane::ReadCookieDomain(pieces);
  PieceStream whole(data + 1, size - 1, SIZE_MAX);
  // The pieces never change the answer, and the answer is a part of the input.
  if (domain != veltrane::ReadCookieDomain(whole)) std::abort();
  if (domain && (domain->size() > size || domain->find_first_of("\r\n") != std::string::npos))
    std::abort();
  return 0;
}

#include "erase/erase_file.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace veltrane {

namespace {

using Kind = platform::WipeTarget::Kind;

// Writes n bytes at `offset`, in two writes where they cross the file's
// length: first the part over the file's own bytes, then the part beyond. A
// full disk, a quota or the size limit of the volume refuses a write that
// grows the file before it copies a byte, so a single write across the end
// would leave the file's last bytes unwritten; on NTFS, growing a small file
// inside its file record would also move the data out and leave the old
// bytes in the record.
void WriteAt(platform::WipeTarget& target, std::uint64_t offset, std::uint64_t length,
             const char* data, std::size_t n) {
  const std::size_t inside =
      offset < length ? static_cast<std::size_t>(std::min<std::uint64_t>(n, length - offset)) : 0;
  if (inside > 0) target.Write(data, inside);
  if (inside < n) target.Write(data + inside, n - inside);
}

// One pass over the file's own bytes from offset 0: L div 10000 + 1 full
// chunks, then a tail of the full chunks' overshoot past L (1 to 10000), so
// each pass writes 20000 * n - L bytes, always more than L. 64-bit counts: a
// length near or past 2^31 neither overflows the count nor stops it short.
void WritePass(platform::WipeTarget& target, platform::EventPump& pump, std::uint64_t length,
               const std::string& chunk) {
  const std::uint64_t fullChunks = length / kWipeChunk + 1;
  // A write that fails (disk full in the overshoot, say) is skipped and the
  // pass counts on, so it ends after the same number of chunks.
  target.Rewind();
  std::uint64_t offset = 0;
  for (std::uint64_t i = 0; i < fullChunks; ++i) {
    WriteAt(target, offset, length, chunk.data(), chunk.size());
    offset += chunk.size();
    pump.DoEvents();
  }
  const std::string tail(static_cast<std::size_t>(fullChunks * kWipeChunk - length), '0');
  WriteAt(target, offset, length, tail.data(), tail.size());
  pump.DoEvents();
  target.Flush();
}

}  // namespace

// With passes the file is opened first, for writing, and its name is marked
// to go before the first byte is written: one that cannot be both written
// and marked (read-only, held without leave to delete, missing) is left
// exactly as it was, and nothing is created. The passes then overwrite the
// file's own bytes; the name goes when the file is closed, or when the
// program ends first, so no partly written file is ever left under it. A link
// or a file with further names loses only this name, unwritten: its bytes are
// not ours alone.
void EraseFile(platform::EraseScope& scope, platform::EventPump& pump, const std::string& path,
               std::optional<int> wipePasses) {
  const int passes = wipePasses.value_or(0);
  if (passes <= 0) {
    scope.Delete(path);
    return;
  }
  std::unique_ptr<platform::WipeTarget> target = scope.OpenToErase(path);
  if (!target) return;
  if (target->kind() == Kind::Plain) {
    const std::uint64_t length = target->Length();
    const std::string chunk(kWipeChunk, '0');
    for (int pass = 1; pass <= passes; ++pass) {
      WritePass(*target, pump, length, chunk);
      pump.DoEvents();
    }
  }
  target->Close();
}

}  // namespace veltrane

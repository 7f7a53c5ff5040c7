#include "windows/cookie_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace veltrane {
namespace {

// Hands out a text in pieces of at most `step` bytes, as a file read does.
class TextStream : public platform::ByteStream {
 public:
  explicit TextStream(std::string text, std::size_t step = SIZE_MAX) : text_(std::move(text)), step_(step) {}
  std::size_t Read(char* buffer, std::size_t n) override {
    std::size_t count = std::min({n, step_, text_.size() - at_});
    std::memcpy(buffer, text_.data() + at_, count);
    at_ += count;
    reads_ += count ? 1 : 0;
    return count;
  }
  std::size_t consumed() const { return at_; }

 private:
  std::string text_;
  std::size_t step_;
  std::size_t at_ = 0;
  int reads_ = 0;
};

// An endless run of one byte, `limit` bytes long, without holding it.
class RepeatStream : public platform::ByteStream {
 public:
  RepeatStream(char c, std::uint64_t limit) : c_(c), limit_(limit) {}
  std::size_t Read(char* buffer, std::size_t n) override {
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(n, limit_ - served_));
    std::memset(buffer, c_, count);
    served_ += count;
    return count;
  }
  std::uint64_t served() const { return served_; }

 private:
  char c_;
  std::uint64_t limit_;
  std::uint64_t served_ = 0;
};

std::optional<std::string> Domain(const std::string& text, std::size_t step = SIZE_MAX) {
  TextStream stream(text, step);
  return ReadCookieDomain(stream);
}

// The browser's form: every field ends with a LF alone, records follow each other.
const std::string kBrowserFile =
    "SessionId\nabc123\nexample.com/\n1024\n3567587328\n30124812\n2190409248\n30121985\n*\n"
    "Pref\nx=1\nads.example.net/path/\n0\n123\n456\n789\n1011\n*\n";

TEST(CookieReader, ReadsTheThirdFieldOfTheFirstUsableLine) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"browser form, many cookies", kBrowserFile, "example.com"},
      {"CR LF ends every field", "a\r\nb\r\nc.com/\r\n", std::nullopt},
      {"CR LF lines, second usable", "a\r\nx\ny\nsite.org/\n\r\n", "site.org"},
      {"first line short, second usable", "one\ntwo\rA\nB\nsecond.com/p/\nD", "second.com/p"},
      {"CR alone between lines", "a\nb\rc\nd\ne.com\r", "e.com"},
      {"third field ends the file", "a\nb\nlast.net/", "last.net"},
      {"two slashes keep one", "a\nb\nhost.com//\n", "host.com/"},
      {"no trailing slash", "a\nb\nhost.com\n", "host.com"},
      {"slash alone gives an empty line", "a\nb\n/\n", ""},
      {"empty third field", "a\nb\n\nd\n", ""},
      {"empty third field at the end", "a\nb\n", ""},
      {"empty fields kept", "\n\nthird\n", "third"},
      {"only two fields", "a\nb", std::nullopt},
      {"empty file", "", std::nullopt},
      {"CR CR LF: empty line between", "a\r\r\nx\ny\nz\r", "z"},
      {"LF after a consumed CR LF is a field cut", "a\r\n\nb\nc\r", "c"},
      {"bytes kept as they are", std::string("a\nb\nh\xe9\x00t/\n", 9), std::string("h\xe9\x00t", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Domain(c.text), c.expected);
    // The same text read a byte at a time: the pieces never matter.
    EXPECT_EQ(Domain(c.text, 1), c.expected);
  }
}

TEST(CookieReader, StopsAtTheFirstUsableLine) {
  std::string text = "a\nb\nfirst.com\n" + std::string(1 << 20, 'x');
  TextStream stream(text, 4096);
  EXPECT_EQ(ReadCookieDomain(stream), "first.com");
  EXPECT_LT(stream.consumed(), 8192u);
}

TEST(CookieReader, HugeInputsCostBoundedWork) {
  struct Case {
    const char* name;
    char fill;
    std::string prefix;
  };
  // A gigabyte with no CR (one endless line), with no LF (endless fields), of
  // CRs (endless empty lines), and an endless third field.
  const Case cases[] = {
      {"no CR", 'x', "a\n"},
      {"no LF", 'x', ""},
      {"only CRs", '\r', ""},
      {"only LFs", '\n', ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RepeatStream stream(c.fill, 1ull << 30);
    std::optional<std::string> domain = ReadCookieDomain(stream);
    EXPECT_LE(stream.served(), kCookieMaxScan + kCookieReadChunk);
    if (domain) {
      EXPECT_LE(domain->size(), kCookieMaxField);
    }
  }

  // A third field beyond the field bound gives no line at all; one at the
  // bound is read whole.
  EXPECT_FALSE(Domain("a\nb\n" + std::string(kCookieMaxField + 1, 'd') + "\n").has_value());
  std::optional<std::string> longest = Domain("a\nb\n" + std::string(kCookieMaxField - 1, 'd') + "/\n");
  ASSERT_TRUE(longest.has_value());
  EXPECT_EQ(longest->size(), kCookieMaxField - 1);
  // A usable line past the scan bound is not reached.
  EXPECT_EQ(Domain(std::string(kCookieMaxScan, '\r') + "a\nb\nlate.com\n"), std::nullopt);
  // Nor one whose third field runs past it: its start alone is no domain.
  const std::string crossing = std::string(kCookieMaxScan - 6, '\r') + "a\nb\ncut.com\n";
  EXPECT_EQ(Domain(crossing), std::nullopt);
  EXPECT_EQ(Domain(crossing, 1000), std::nullopt);
}

TEST(CookieReader, RandomInputsNeverFailAndStayBounded) {
  std::mt19937 random(20241208);
  const char alphabet[] = {'\r', '\n', '/', 'a', '.', '\0', '\xff', 'z'};
  for (int round = 0; round < 4000; ++round) {
    std::size_t length = random() % 600;
    std::string text(length, ' ');
    for (char& c : text)
      c = random() % 4 == 0 ? static_cast<char>(random()) : alphabet[random() % sizeof alphabet];
    std::size_t step = 1 + random() % 64;
    std::optional<std::string> domain = Domain(text, step);
    ASSERT_EQ(domain, Domain(text)) << "round " << round;
    if (domain) {
      ASSERT_LE(domain->size(), text.size());
      ASSERT_EQ(domain->find_first_of("\r\n"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace veltrane

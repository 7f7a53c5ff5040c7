#include "seed_plan.h"

namespace e2e {

namespace {
// Cookie files in the browser's own form: every field ends with a LF alone,
// each cookie is name, value, host/path, flags, four numbers and "*".
constexpr const char kCookieCom[] =
    "SESSION\nabc123\nexample.com/\n1536\n2101532416\n31011112\n3525403648\n31001001\n*\n"
    "lang\nen-GB\nexample.com/\n1024\n2101532416\n31011112\n3525403648\n31001001\n*\n";
constexpr const char kCookieOrg[] =
    "cart\n3\nwww.example.org/shop/\n0\n1821532416\n31021112\n3525403648\n31001001\n*\n";
constexpr const char kCookieNet[] =
    "uid\n77f0\nexample.net//\n9728\n2101532416\n31011112\n3525403648\n31001001\n*\n";
constexpr const char kCookieTest[] =
    "id\n42\nexample.test/\n0\n2101532416\n31011112\n3525403648\n31001001\n*\n";
// A .txt name that is no cookie: CR LF lines with no LF inside, so no usable line.
constexpr const char kNotes[] = "shopping list\r\nmilk\r\n";
constexpr const char kHiddenCookie[] =
    "h\n1\nhidden.example.com/\n0\n2101532416\n31011112\n3525403648\n31001001\n*\n";
constexpr const char kSystemCookie[] =
    "s\n1\nsystem.example.com/\n0\n2101532416\n31011112\n3525403648\n31001001\n*\n";
constexpr const char kLowCookie[] =
    "low\n1\nlow.example.com/\n0\n2101532416\n31011112\n3525403648\n31001001\n*\n";

constexpr SeedFolder kFolders[] = {
    {Root::Cookies, L"Low", FolderKind::Plain},
    {Root::History, L"History.IE5", FolderKind::Plain},
    {Root::History, L"History.IE5\\MSHist012024010120240108", FolderKind::Plain},
    {Root::History, L"History.IE5\\MSHist012024010120240108\\Day1", FolderKind::Plain},
    {Root::History, L"SystemPart", FolderKind::System},
    {Root::History, L"SystemPart\\Inner", FolderKind::Plain},
    {Root::History, L"ReadOnlyPart", FolderKind::ReadOnly},
    {Root::History, L"HiddenPart", FolderKind::Hidden},
    {Root::Cache, L"Content.IE5", FolderKind::Plain},
    {Root::Cache, L"Content.IE5\\ABCD1234", FolderKind::Plain},
    {Root::Cache, L"Content.IE5\\EFGH5678", FolderKind::System},
    {Root::Cache, L"Content.IE5\\EFGH5678\\Deeper", FolderKind::System},
    {Root::Cache, L"Content.IE5\\Locked", FolderKind::ReadOnly},
    {Root::Cache, L"Content.IE5\\Locked\\Below", FolderKind::Plain},
    {Root::Cache, L"Low", FolderKind::Hidden},
};

constexpr SeedFile kFiles[] = {
    {Root::Cookies, L"user@example.com[1].txt", FileKind::Plain, Fate::Erased, 0, kCookieCom, "example.com"},
    {Root::Cookies, L"user@www.example.org[2].txt", FileKind::Plain, Fate::Erased, 0, kCookieOrg, "www.example.org/shop"},
    {Root::Cookies, L"user@example.net[1].txt", FileKind::Plain, Fate::Erased, 0, kCookieNet, "example.net/"},
    {Root::Cookies, L"A.TXT", FileKind::Plain, Fate::Erased, 0, kCookieTest, "example.test"},
    {Root::Cookies, L"b.Txt", FileKind::Plain, Fate::Erased, 0, kNotes, nullptr},
    {Root::Cookies, L"index.dat", FileKind::Plain, Fate::Kept, 16384, nullptr, nullptr},
    {Root::Cookies, L"notes.txt.bak", FileKind::Plain, Fate::Kept, 20, nullptr, nullptr},
    {Root::Cookies, L"hidden@example.com[1].txt", FileKind::Hidden, Fate::Kept, 0, kHiddenCookie, nullptr},
    {Root::Cookies, L"system@example.com[1].txt", FileKind::System, Fate::Kept, 0, kSystemCookie, nullptr},
    {Root::Cookies, L"Low\\low@example.com[1].txt", FileKind::Plain, Fate::Kept, 0, kLowCookie, nullptr},

    {Root::History, L"empty.dat", FileKind::Plain, Fate::Erased, 0, nullptr, nullptr},
    {Root::History, L"one.txt", FileKind::Plain, Fate::Erased, 1, nullptr, nullptr},
    {Root::History, L"readonly.dat", FileKind::ReadOnly, Fate::ListedKept, 300, nullptr, nullptr},
    {Root::History, L"hidden.dat", FileKind::Hidden, Fate::Kept, 40, nullptr, nullptr},
    {Root::History, L"system.dat", FileKind::System, Fate::Kept, 50, nullptr, nullptr},
    {Root::History, L"History.IE5\\index.dat", FileKind::Plain, Fate::Erased, 16384, nullptr, nullptr},
    {Root::History, L"History.IE5\\container.dat", FileKind::Plain, Fate::Erased, 9999, nullptr, nullptr},
    {Root::History, L"History.IE5\\MSHist012024010120240108\\index.dat", FileKind::Plain, Fate::Erased, 10000, nullptr, nullptr},
    {Root::History, L"History.IE5\\MSHist012024010120240108\\Day1\\visit.url", FileKind::Plain, Fate::Erased, 25000, nullptr, nullptr},
    {Root::History, L"History.IE5\\MSHist012024010120240108\\Day1\\hidden.url", FileKind::Hidden, Fate::Kept, 60, nullptr, nullptr},
    {Root::History, L"SystemPart\\sys.dat", FileKind::Plain, Fate::Erased, 123, nullptr, nullptr},
    {Root::History, L"SystemPart\\Inner\\inner.dat", FileKind::Plain, Fate::Erased, 4096, nullptr, nullptr},
    {Root::History, L"ReadOnlyPart\\kept.dat", FileKind::Plain, Fate::Kept, 777, nullptr, nullptr},
    {Root::History, L"HiddenPart\\kept.dat", FileKind::Plain, Fate::Kept, 888, nullptr, nullptr},

    {Root::Cache, L"top.dat", FileKind::Plain, Fate::Erased, 1, nullptr, nullptr},
    {Root::Cache, L"system.dat", FileKind::System, Fate::Kept, 70, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\index.dat", FileKind::Plain, Fate::Erased, 32768, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\ABCD1234\\page[1].htm", FileKind::Plain, Fate::Erased, 2048, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\ABCD1234\\logo[1].gif", FileKind::Plain, Fate::Erased, 10000, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\ABCD1234\\script[2].js", FileKind::Plain, Fate::Erased, 0, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\ABCD1234\\hidden[1].htm", FileKind::Hidden, Fate::Kept, 90, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\EFGH5678\\style[1].css", FileKind::Plain, Fate::Erased, 512, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\EFGH5678\\Deeper\\font[1].woff", FileKind::Plain, Fate::Erased, 30001, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\Locked\\kept.htm", FileKind::Plain, Fate::Kept, 99, nullptr, nullptr},
    {Root::Cache, L"Content.IE5\\Locked\\Below\\kept.js", FileKind::Plain, Fate::Kept, 11, nullptr, nullptr},
    {Root::Cache, L"Low\\kept.htm", FileKind::Plain, Fate::Kept, 66, nullptr, nullptr},
};

// Url4 is absent, so the list is Url1 to Url3; Url5, Url0 and UrlX lie outside it.
constexpr SeedValue kTypedUrls[] = {
    {L"Url1", L"http://www.example.com/", true},
    {L"Url2", L"http://example.org/search?q=traces", true},
    {L"Url3", L"example.net", true},
    {L"Url5", L"http://after-the-gap.example.com/", false},
    {L"Url0", L"http://zero.example.org/", false},
    {L"UrlX", L"http://x.example.net/", false},
};
}  // namespace

std::span<const SeedFolder> SeedFolders() { return kFolders; }
std::span<const SeedFile> SeedFiles() { return kFiles; }
std::span<const SeedValue> SeedTypedUrls() { return kTypedUrls; }

std::string ContentOf(const SeedFile& file) {
  if (file.content) return file.content;
  // Text that differs from file to file and from line to line, so a byte
  // changed anywhere shows.
  std::string text;
  const std::wstring name = file.path;
  unsigned seed = 0;
  for (wchar_t c : name) seed = seed * 31 + static_cast<unsigned>(c);
  for (int i = 0; static_cast<int>(text.size()) < file.size; ++i)
    text += "line " + std::to_string(i) + " of trace " + std::to_string(seed % 100000) + "\r\n";
  text.resize(static_cast<size_t>(file.size));
  return text;
}

int ListedCount(Root root) {
  int count = 0;
  for (const SeedFile& file : kFiles)
    if (file.root == root && file.fate != Fate::Kept) ++count;
  return count;
}

int UndeletableCount(Root root) {
  int count = 0;
  for (const SeedFile& file : kFiles)
    if (file.root == root && file.fate == Fate::ListedKept) ++count;
  return count;
}

int TypedUrlCount() {
  int count = 0;
  for (const SeedValue& value : kTypedUrls)
    if (value.inList) ++count;
  return count;
}

}  // namespace e2e

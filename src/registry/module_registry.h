#pragma once
#include <cstdint>
#include <string>
#include <variant>

#include "platform/registry.h"

namespace veltrane {

// A registry value as the program reads it: nothing, a text (a string value
// keeps its terminating NUL character) or a signed 32-bit number.
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

constexpr platform::RegRoot kUserRoot = platform::kHkeyCurrentUser;
// Every key, for reading as for deleting, is opened with options 0 and this mask.
constexpr std::uint32_t kKeyAccess = 0x3F;

inline const std::string kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const std::string kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

RegValue GetRegValue(platform::Registry& registry, platform::RegRoot root,
                     const std::string& keyPath, const std::string& valueName);
platform::RegStatus QueryRegValue(platform::Registry& registry, platform::RegKey key,
                                  const std::string& valueName, RegValue& value);
void DeleteRegValue(platform::Registry& registry, platform::RegRoot root,
                    const std::string& keyPath, const std::string& valueName);

// The typed-address list ends at the first value that is nothing or empty text.
bool EndsTypedList(const RegValue& value);
// A value as text: nothing gives "", a number its decimal digits.
std::string RegValueText(const RegValue& value);
// "Url" followed by n.
std::string TypedUrlName(int n);

}  // namespace veltrane

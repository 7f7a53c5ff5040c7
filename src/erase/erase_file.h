#pragma once
#include <optional>
#include <string>

#include "platform/event_pump.h"
#include "platform/files.h"

namespace veltrane {

constexpr int kWipeChunk = 10000;

// Erases one file where `scope` allows it; with wipe passes above 0 it
// overwrites the file's own bytes that many times before deleting it.
// Reports nothing: a file that cannot be deleted stays exactly as it was.
void EraseFile(platform::EraseScope& scope, platform::EventPump& pump,
               const std::string& path, std::optional<int> wipePasses);

}  // namespace veltrane

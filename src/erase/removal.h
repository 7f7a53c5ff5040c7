#pragma once
#include <optional>
#include <string>

#include "core/action_context.h"

namespace veltrane {

class FormMsg;

// The removal behind Command_Remove and Image_Remove; its summary goes to
// the message window `msg`.
void RunRemoval(const ActionContext& ctx, FormMsg& msg);

// WipePasses for a removal from the wipe settings: unticked gives 0; ticked
// gives 1, 3 or 7 by the selected pass item, or keeps `previous` when no
// item (or an unknown one) is selected.
std::optional<int> WipePassesFor(int checkValue, int listIndex, std::optional<int> previous);

// The text shown in the message window after every confirmed removal.
extern const std::string kRemovalSummary;

}  // namespace veltrane

#include "erase/removal.h"

#include "app/app_context.h"

namespace veltrane {

void Command_Remove_Click(AppContext&) {}

}  // namespace veltrane

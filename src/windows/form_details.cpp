#include "windows/form_details.h"

#include "app/app_context.h"

namespace veltrane {

FormDetails::FormDetails(AppContext& app) : app_(app) {}
void FormDetails::ShowDetails(int) {}
void FormDetails::OnClick(int) {}
void FormDetails::OnClose() {}

}  // namespace veltrane

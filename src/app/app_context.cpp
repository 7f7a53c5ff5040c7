#include "app/app_context.h"

#include "windows/form_details.h"
#include "windows/form_msg.h"

namespace veltrane {

AppContext::AppContext(platform::Services& services) : os(services) {}

AppContext::~AppContext() = default;

FormMsg& AppContext::Msg() {
  if (!msg_) msg_ = std::make_unique<FormMsg>(os.runtime);
  return *msg_;
}

FormDetails& AppContext::Details() {
  if (!details_) details_ = std::make_unique<FormDetails>(*this);
  return *details_;
}

}  // namespace veltrane

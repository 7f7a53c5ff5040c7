#include "app/app_context.h"

namespace veltrane {

FormDetails& AppContext::Details() {
  if (!details_) details_ = std::make_unique<FormDetails>(os, state);
  return *details_;
}

}  // namespace veltrane

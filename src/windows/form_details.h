#pragma once
#include <memory>

#include "platform/runtime.h"

namespace veltrane {

class AppContext;

// The details window: cookie domains (kind 1) or typed addresses (kind 2).
class FormDetails : public platform::FormEvents {
 public:
  explicit FormDetails(AppContext& app);
  void ShowDetails(int tmp_Type);
  platform::Form& form() { return *form_; }

  void OnClick(int id) override;
  void OnClose() override;

 private:
  AppContext& app_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace veltrane

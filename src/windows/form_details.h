#pragma once
#include <memory>
#include <string>

#include "platform/runtime.h"

namespace veltrane {

class AppContext;

// The details window: cookie domains (kind 1) or typed addresses (kind 2).
// Created hidden with the first request; "CLOSE" or the close box hides it,
// keeping its place and its list.
class FormDetails : public platform::FormEvents {
 public:
  explicit FormDetails(AppContext& app);
  FormDetails(const FormDetails&) = delete;
  FormDetails& operator=(const FormDetails&) = delete;

  void ShowDetails(int tmp_Type);
  platform::Form& form() { return *form_; }

  void OnClick(int id) override;
  void OnClose() override;

 private:
  void Command_Close_Click();
  void ListCookieDomains();
  void ListTypedUrls();
  void AddLine(const std::string& text);

  AppContext& app_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace veltrane

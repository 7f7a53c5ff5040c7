#pragma once
#include <memory>
#include <string>

#include "core/program_state.h"
#include "platform/services.h"

namespace veltrane {

// What the details window lists, by the kind number its callers pass.
enum class DetailsKind : int {
  CookieDomains = 1,
  TypedUrls = 2,
};

// The details window: cookie domains or typed addresses. Created hidden with
// the first request; "CLOSE" or the close box hides it, keeping its place and
// its list.
class FormDetails : public platform::FormEvents {
 public:
  // It reads the scan's results and the registry, and lets events run.
  FormDetails(platform::Services& os, const ProgramState& state);
  FormDetails(const FormDetails&) = delete;
  FormDetails& operator=(const FormDetails&) = delete;

  void ShowDetails(DetailsKind tmp_Type);
  platform::Form& form() { return *form_; }

  void OnClick(int id) override;
  void OnClose() override;

 private:
  void Command_Close_Click();
  void ListCookieDomains();
  void ListTypedUrls();
  void AddLine(const std::string& text);

  platform::Services& os_;
  const ProgramState& state_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace veltrane

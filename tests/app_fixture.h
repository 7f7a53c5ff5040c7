#pragma once
#include "app/app_context.h"
#include "app/form_main.h"
#include "fake_platform.h"

namespace veltrane::testing {

// The whole program on the fakes: the main window exists (hidden) as at start;
// Load() runs its load step and shows it, as the start-up does.
class AppFixture : public FakePlatformTest {
 protected:
  void Load() {
    mainForm.Form_Load();
    if (!main().IsShown()) main().Show();
  }
  platform::Form& main() { return mainForm.form(); }

  AppContext app{services};
  FormMain mainForm{app};
};

}  // namespace veltrane::testing

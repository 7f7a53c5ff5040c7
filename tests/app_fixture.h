#pragma once
#include <gtest/gtest.h>

#include "app/app_context.h"
#include "app/form_main.h"
#include "control_names.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_launcher.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_runtime.h"

namespace veltrane::testing {

// The whole program on the fakes: the main window exists (hidden) as at start;
// Load() runs its load step and shows it, as the start-up does.
class AppFixture : public ::testing::Test {
 protected:
  AppFixture() { runtime.SetControlNames(ControlNames()); }

  void Load() {
    mainForm.Form_Load();
    if (!main().IsShown()) main().Show();
  }
  platform::Form& main() { return mainForm.form(); }

  fake::FakeRegistry registry;
  fake::FakeFileSystem files;
  fake::FakeDesktop desktop;
  fake::FakeLauncher launcher;
  fake::FakeRuntime runtime;
  platform::Services services{registry, files, desktop, launcher, runtime};
  AppContext app{services};
  FormMain mainForm{app};
};

}  // namespace veltrane::testing

#include "app/program.h"

#include "app/app_context.h"
#include "app/form_main.h"

namespace veltrane {

int RunProgram(platform::Services& services) {
  AppContext app(services);
  FormMain main(app);
  main.Form_Load();
  // The browser warning may have shown the window already.
  if (!main.form().IsShown()) main.form().Show();
  return services.runtime.Run();
}

}  // namespace veltrane

#include "details_figure.h"

#include "platform/win32/win32_runtime.h"

#include <cstdio>
#include <string>

#include "app/app_context.h"
#include "app/form_main.h"
#include "core/control_ids.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_registry.h"
#include "timing.h"

namespace bench {

namespace {

using namespace veltrane;

constexpr int kUrls = 20000;
constexpr int kRounds = 3;
constexpr const wchar_t* kTypedUrlsKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

std::wstring UrlName(int n) { return L"Url" + std::to_wstring(n); }

void StoreTypedUrls() {
  HKEY created = nullptr;
  Check(RegCreateKeyExW(HKEY_CURRENT_USER, kTypedUrlsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) ==
            ERROR_SUCCESS,
        "cannot make the TypedURLs key");
  const win32::KeyHandle key(created);
  for (int n = 1; n <= kUrls; ++n) {
    const std::wstring url = L"http://www.example" + std::to_wstring(n) + L".com/some/page.html";
    RegSetValueExW(key.Get(), UrlName(n).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(url.c_str()),
                   DWORD((url.size() + 1) * sizeof(wchar_t)));
  }
}

// Each value as a reader by name must take it: the key opened, the size
// asked, the data read, the key closed.
int BareReads() {
  int read = 0;
  for (int n = 1; n <= kUrls + 1; ++n) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTypedUrlsKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) break;
    LONG status;
    DWORD size = 0;
    {
      const win32::KeyHandle key(opened);
      const std::wstring name = UrlName(n);
      DWORD type = 0;
      status = RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size);
      std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
      if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS || size == 0) break;
    ++read;
  }
  return read;
}

void RemoveTypedUrls() { RegDeleteKeyW(HKEY_CURRENT_USER, kTypedUrlsKey); }

}  // namespace

void RunDetailsFigure() {
  win32::Win32Registry registry;
  win32::Win32FileSystem files;
  win32::Win32Desktop desktop;
  win32::Win32Launcher launcher;
  win32::Win32Runtime runtime;
  platform::Services services{registry, files, desktop, launcher, runtime};
  AppContext app(services);
  FormMain main(app);
  main.Form_Load();
  main.form().Show();
  app.state.scanDone = true;  // the gate is not what is measured
  StoreTypedUrls();

  double details = 0, floor = 0;
  for (int round = 0; round < kRounds; ++round) {
    const auto runDetails = [&] { details += Time([&] { main.OnClick(ids::Status_History); }); };
    const auto runFloor = [&] { floor += Time([&] { Check(BareReads() == kUrls, "the bare reads missed values"); }); };
    InTurn(round, runDetails, runFloor);
    Check(app.Details().form().ItemCount(ids::List_Details) == kUrls + 2, "the details list missed addresses");
  }
  RemoveTypedUrls();
  std::printf("details: %.2fx (details %.2f s, floor %.2f s; %d typed addresses listed %d times)\n",
              details / floor, details, floor, kUrls, kRounds);
  std::fflush(stdout);
}

}  // namespace bench

#include "windows/form_details.h"

#include "core/control_ids.h"
#include "registry/module_registry.h"
#include "windows/cookie_reader.h"
#include "windows/form_details_design.h"

namespace veltrane {

namespace {

// Cookie files are 8-bit text: each byte is one character (taken as
// Latin-1), so a stray high byte shows as a letter rather than as invalid UTF-8.
std::string EightBitToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

}  // namespace

FormDetails::FormDetails(platform::Services& os, const ProgramState& state)
    : os_(os), state_(state), form_(os.runtime.CreateForm(DetailsDesign(), *this)) {}

void FormDetails::ShowDetails(DetailsKind tmp_Type) {
  if (!state_.scanDone) {
    os_.runtime.ShowMessage("Scan your system first!", "Veltrane", platform::kMsgOkOnly);
    return;
  }
  form_->Show();
  form_->SetVisible(ids::List_Details, false);
  form_->ClearItems(ids::List_Details);
  form_->SetVisible(ids::List_Details, true);
  if (tmp_Type == DetailsKind::CookieDomains) ListCookieDomains();
  if (tmp_Type == DetailsKind::TypedUrls) ListTypedUrls();
  // A "CLOSE" handled while the list filled hid the window: focusing its list
  // would activate a hidden window, so the focus waits for the next request.
  if (form_->IsShown()) form_->SetFocus(ids::List_Details);
}

void FormDetails::ListCookieDomains() {
  AddLine("Domains that have saved a cookie on your HD:");
  AddLine("");
  // A scan handled while events run may shorten the list: positions past its
  // new end give nothing. A file that vanished or cannot be opened gives no line.
  const TraceList& files = state_.cookieFiles;
  const std::size_t n = files.Count();
  for (std::size_t i = 1; i <= n; ++i) {
    if (std::optional<std::string> path = files.At(i)) {
      std::optional<std::string> domain;
      if (std::unique_ptr<platform::ByteStream> stream = os_.files.OpenRead(*path))
        domain = ReadCookieDomain(*stream);  // the stream closes before events run
      if (domain) AddLine(EightBitToUtf8(*domain));
    }
    os_.runtime.DoEvents();
  }
  if (form_->ItemCount(ids::List_Details) == 2) AddLine("No cookies found");
}

void FormDetails::ListTypedUrls() {
  AddLine("URLs found in registry:");
  AddLine("");
  for (int n = 1;; ++n) {
    std::string text = RegValueText(GetRegValue(os_.registry, kUserRoot, kTypedUrlsKey, TypedUrlName(n)));
    if (text.empty()) break;
    AddLine(text);
    os_.runtime.DoEvents();
  }
  if (form_->ItemCount(ids::List_Details) == 2) AddLine("No URLs found");
}

// A list line shows its text up to the first NUL, so a string value's
// terminating NUL (and anything behind an inner one) is not part of the line.
void FormDetails::AddLine(const std::string& text) {
  form_->AddItem(ids::List_Details, text.substr(0, text.find('\0')));
}

void FormDetails::OnClick(int id) {
  if (id == ids::Details_Command_Close) Command_Close_Click();
}

// "CLOSE" hides the window; it keeps its place and its list for the next request.
void FormDetails::Command_Close_Click() { form_->Hide(); }

// The runtime hides the window on its close box already; this keeps it hidden
// should a close arrive some other way.
void FormDetails::OnClose() {
  if (form_->IsShown()) form_->Hide();
}

}  // namespace veltrane

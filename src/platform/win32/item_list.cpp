#include "platform/win32/item_list.h"

namespace veltrane::win32 {

// The length first: CB_GETLBTEXT writes without a bound.
std::wstring ItemList::Text(int index) const {
  const LRESULT length = Send(m_.textLength, WPARAM(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = Send(m_.text, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return text;
}

}  // namespace veltrane::win32

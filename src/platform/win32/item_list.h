#pragma once
#include <windows.h>

#include <string>

namespace veltrane::win32 {

// The items of a combo box or a list box: both take the same requests under
// different message numbers, and both answer CB_ERR / LB_ERR (-1) for "none"
// or for a failure. Unsorted controls: an item added goes at the end.
class ItemList {
 public:
  static ItemList Combo(HWND hwnd) { return ItemList(hwnd, kCombo); }
  static ItemList List(HWND hwnd) { return ItemList(hwnd, kList); }

  void Reset() const { Send(m_.reset, 0, 0); }
  // The new item's index; CB_ERR, or CB_ERRSPACE (-2) when the control is
  // out of room. The control keeps the text up to its first NUL.
  LRESULT Add(const wchar_t* text) const { return Send(m_.add, 0, reinterpret_cast<LPARAM>(text)); }
  // The number of items; CB_ERR on failure.
  LRESULT Count() const { return Send(m_.count, 0, 0); }
  // The item's text; empty when there is no such item.
  std::wstring Text(int index) const;
  // The selected item's index; CB_ERR when none is selected.
  LRESULT Selection() const { return Send(m_.getSelection, 0, 0); }
  // -1 clears the selection (and a combo box's field); that and an index
  // past the end both answer CB_ERR.
  LRESULT Select(int index) const { return Send(m_.setSelection, WPARAM(index), 0); }

 private:
  struct Messages {
    UINT reset, add, count, textLength, text, getSelection, setSelection;
  };
  static constexpr Messages kCombo{CB_RESETCONTENT, CB_ADDSTRING, CB_GETCOUNT, CB_GETLBTEXTLEN,
                                   CB_GETLBTEXT,    CB_GETCURSEL, CB_SETCURSEL};
  static constexpr Messages kList{LB_RESETCONTENT, LB_ADDSTRING, LB_GETCOUNT, LB_GETTEXTLEN,
                                  LB_GETTEXT,      LB_GETCURSEL, LB_SETCURSEL};

  ItemList(HWND hwnd, const Messages& m) : hwnd_(hwnd), m_(m) {}
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) const { return SendMessageW(hwnd_, msg, wp, lp); }

  HWND hwnd_;
  const Messages& m_;
};

}  // namespace veltrane::win32

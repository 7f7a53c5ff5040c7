#pragma once
#include <windows.h>

#include <exception>

namespace veltrane::win32 {

// Every window procedure runs its handler through this: no exception may
// unwind into user32. A handler that throws has stopped where it was; the
// program goes on with the next event, as it would after any other event.
template <typename Handler>
LRESULT CallGuarded(Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
    OutputDebugStringA("veltrane: unknown exception in an event handler");
  }
  return 0;
}

// The window procedure of a class whose every window belongs to one C++
// object, passed as CreateWindowExW's last argument. The object is bound at
// WM_NCCREATE (OnAttach) and kept in GWLP_USERDATA; from then on its
// OnMessage answers, guarded, until WM_NCDESTROY unbinds it (OnDetach). The
// few messages before the binding go to DefWindowProcW.
template <typename Window>
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->OnAttach(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->OnDetach();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return CallGuarded([&] { return self->OnMessage(msg, wp, lp); });
}

// A window class whose procedure is BoundWindowProc<Window>: the arrow
// cursor, no background brush, and no CS_DBLCLKS, so two quick clicks are two
// clicks. Registering again (a second runtime) fails harmlessly.
template <typename Window>
void RegisterBoundClass(HINSTANCE module, const wchar_t* name) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = BoundWindowProc<Window>;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

}  // namespace veltrane::win32

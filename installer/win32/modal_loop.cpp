#include "installer/win32/modal_loop.h"

namespace ostravel::win32 {

DisabledOwner::DisabledOwner(HWND owner) : owner_(owner) {
  if (owner_) EnableWindow(owner_, FALSE);
}

DisabledOwner::~DisabledOwner() {
  if (!owner_) return;
  EnableWindow(owner_, TRUE);
  SetActiveWindow(owner_);
}

std::optional<int> RunModalLoop(HWND dialog, const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return int(msg.wParam);
    if (!dialog || !IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return std::nullopt;
}

}  // namespace ostravel::win32

#pragma once
// The one modal loop of the program's windows: the wizard, its dialogs, the
// message dialog and the background window each run the thread's messages here
// until they are done, with their owner disabled meanwhile.
#include "base/win32/windows_clean.h"

#include <functional>
#include <optional>

namespace ostravel::win32 {

// While it lives the owner takes no input: the window above it is modal. At its
// end the owner takes input again and becomes the active window, before the modal
// window goes, so activation returns to it and not to another program.
class DisabledOwner {
 public:
  explicit DisabledOwner(HWND owner);
  ~DisabledOwner();
  DisabledOwner(const DisabledOwner&) = delete;
  DisabledOwner& operator=(const DisabledOwner&) = delete;

 private:
  HWND owner_;
};

// Runs the thread's messages until `done` says so, with the dialog keys (Tab,
// Enter, Escape) for `dialog` when one is given. A WM_QUIT ends it early: its exit
// code comes back, to be posted again once the modal window is gone, so the loop
// outside ends too.
std::optional<int> RunModalLoop(HWND dialog, const std::function<bool()>& done);

}  // namespace ostravel::win32

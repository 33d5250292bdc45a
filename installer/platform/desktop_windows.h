#pragma once
// Top-level windows of the desktop, found by their window class or their title.
// Every text here is CP1250; UTF-16 exists only inside win32/.
#include <string>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  virtual bool WindowOfClassExists(const std::string& className) = 0;
  // Sends a close message to the first top-level window of the class and waits
  // until its owner has handled it; false when there is no such window or the
  // owner does not answer in time.
  virtual bool CloseWindowOfClass(const std::string& className) = 0;
  // A top-level window whose title is exactly `title`, letter case included.
  virtual bool WindowWithTitleExists(const std::string& title) = 0;
  // The program file of the process that owns the first top-level window of the
  // class; empty when there is none or it cannot be told.
  virtual std::string ProgramOfWindowClass(const std::string& /*className*/) { return ""; }
};

// A desktop without windows.
DesktopWindows& NoDesktopWindows();

}  // namespace ostravel::platform

#pragma once
// Top-level windows for host tests: a list the test fills; close requests are
// recorded, and a window either goes, stays (refuses) or never answers.
#include <map>
#include <string>
#include <vector>

#include "installer/platform/desktop_windows.h"

namespace ostravel::platform {

class FakeDesktopWindows : public DesktopWindows {
 public:
  enum class OnClose { Closes, Refuses, Hangs };
  struct Window {
    std::string className;
    OnClose onClose = OnClose::Closes;
    std::string title;
  };
  std::vector<Window> windows;  // in the order the desktop lists them
  std::vector<std::string> closeRequests;
  std::map<std::string, std::string> programs;  // window class -> program of its owner

  bool WindowOfClassExists(const std::string& className) override;
  bool CloseWindowOfClass(const std::string& className) override;
  bool WindowWithTitleExists(const std::string& title) override;
  std::string ProgramOfWindowClass(const std::string& className) override;
};

}  // namespace ostravel::platform

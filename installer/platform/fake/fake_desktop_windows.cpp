#include "installer/platform/fake/fake_desktop_windows.h"

#include <algorithm>

namespace ostravel::platform {

bool FakeDesktopWindows::WindowOfClassExists(const std::string& className) {
  return std::any_of(windows.begin(), windows.end(), [&](const Window& w) { return w.className == className; });
}

bool FakeDesktopWindows::CloseWindowOfClass(const std::string& className) {
  auto it = std::find_if(windows.begin(), windows.end(), [&](const Window& w) { return w.className == className; });
  if (it == windows.end()) return false;
  closeRequests.push_back(className);
  if (it->onClose == OnClose::Hangs) return false;
  if (it->onClose == OnClose::Closes) windows.erase(it);
  return true;
}

bool FakeDesktopWindows::WindowWithTitleExists(const std::string& title) {
  return std::any_of(windows.begin(), windows.end(), [&](const Window& w) { return w.title == title; });
}

std::string FakeDesktopWindows::ProgramOfWindowClass(const std::string& className) {
  auto program = programs.find(className);
  return WindowOfClassExists(className) && program != programs.end() ? program->second : "";
}

}  // namespace ostravel::platform

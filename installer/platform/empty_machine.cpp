#include "installer/platform/platform.h"

namespace ostravel::platform {
namespace {

class EmptyServices : public Services {
 public:
  std::unique_ptr<ServiceManager> OpenManager() override { return nullptr; }
};

class EmptyDesktop : public DesktopWindows {
 public:
  bool WindowOfClassExists(const std::string&) override { return false; }
  bool CloseWindowOfClass(const std::string&) override { return false; }
  bool WindowWithTitleExists(const std::string&) override { return false; }
};

}  // namespace

// Stateless, so one shared instance each is enough.
Services& NoServices() {
  static EmptyServices services;
  return services;
}

DesktopWindows& NoDesktopWindows() {
  static EmptyDesktop desktop;
  return desktop;
}

}  // namespace ostravel::platform

#pragma once
// A failure raised "as an error carrying a message text": the one handler of
// unhandled errors shows the text on the error page.
#include <stdexcept>
#include <string>

namespace ostravel {

class InstallerError : public std::runtime_error {
 public:
  // The message is CP1250.
  explicit InstallerError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ostravel

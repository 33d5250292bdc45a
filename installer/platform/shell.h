#pragma once
// Shell links: made and saved for the installed programs, read back to find where an
// earlier installation put its program.
// Every text here is CP1250, paths included; UTF-16 exists only inside win32/.
#include <optional>
#include <string>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

struct ShellLink {
  std::string target, workFolder, description, arguments, iconPath;
  int iconIndex = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Makes a link, setting target, work folder, description, arguments and icon
  // location in that order, and saves it at `path` (a ".lnk" name). The shell may
  // save a link to an old-style program under ".pif" instead; false when nothing
  // could be saved.
  virtual bool SaveLink(const ShellLink& link, const std::string& path) = 0;
  // The link's fields as the shell gives them back; nullopt when the file is no link.
  virtual std::optional<ShellLink> LoadLink(const std::string& path) = 0;
};

}  // namespace ostravel::platform

#pragma once
// The fonts of the system: the families the screen offers, and adding a font file.
#include <string>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

class Fonts {
 public:
  virtual ~Fonts() = default;
  // A family of that name (letter case ignored) among those of the screen device.
  virtual bool FamilyInstalled(const std::string& family) = 0;
  // Registers the file with the system font table; true when the system took it.
  virtual bool AddFontFile(const std::string& path) = 0;
};

}  // namespace ostravel::platform

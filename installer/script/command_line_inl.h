#pragma once
#include "base/cp1250.h"

namespace ostravel {

template <typename FileExistsFn>
std::string FindInstallRecordParameter(const std::vector<std::string>& params, FileExistsFn fileExists) {
  const std::string* last = nullptr;
  for (const auto& p : params) {
    if (IsLogSwitch(p)) continue;
    if (LowerCase(p.substr(0, 2)) == "/l" && fileExists(p.substr(2))) return p.substr(2);
    last = &p;
  }
  return !last || last->size() < 2 ? "" : last->substr(2);
}

}  // namespace ostravel

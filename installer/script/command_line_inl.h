#pragma once
#include "base/cp1250.h"

namespace ostravel {

template <typename FileExistsFn>
std::string FindInstallRecordParameter(const std::vector<std::string>& params, FileExistsFn fileExists) {
  for (const auto& p : params) {
    if (LowerCase(p.substr(0, 2)) == "/l" && fileExists(p.substr(2))) return p.substr(2);
  }
  return params.empty() || params.back().size() < 2 ? "" : params.back().substr(2);
}

}  // namespace ostravel

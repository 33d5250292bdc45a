#pragma once
// A setup script against the medium folder beside it: every [Files] entry (module
// sections included) against the member of its component's archive (name, size,
// time, digest), the archives' sizes and digests against [Components], and the
// files a medium cannot do without.
#include <string>
#include <vector>

#include "installer/platform/platform.h"
#include "tools/media/script_lint.h"

namespace ostravel::media {

// `text` is the plain script; `folder` the medium folder (CP1250, no trailing "\").
std::vector<Finding> CheckMedium(const std::string& text, platform::FileSystem& files, const std::string& folder);

}  // namespace ostravel::media

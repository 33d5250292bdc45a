#include "installer/wizard/page.h"

namespace ostravel::wizard {

std::optional<Page> PageSet::After(Page page) const {
  for (int p = int(page) + 1; p < kPageCount; ++p)
    if (bits_.test(size_t(p))) return Page(p);
  return std::nullopt;
}

std::optional<Page> PageSet::Before(Page page) const {
  for (int p = int(page) - 1; p >= 0; --p)
    if (bits_.test(size_t(p))) return Page(p);
  return std::nullopt;
}

}  // namespace ostravel::wizard

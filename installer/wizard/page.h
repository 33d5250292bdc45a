#pragma once
// The wizard's pages in notebook order, which is also the navigation order.
#include <bitset>
#include <optional>

namespace ostravel::wizard {

enum class Page {
  Welcome,
  License,
  Notes,
  InstallKind,
  Destination,
  Customize,
  CreateIcon,
  Question1,
  Summary,
  CopyFiles,
  Readme,
  Finished,
  ErrorFinish,
};
inline constexpr int kPageCount = 13;

// Component name of the page ("Welcome", "InstallKind", ...), from the page table.
const char* PageName(Page page);

class PageSet {
 public:
  void Include(Page page) { bits_.set(size_t(page)); }
  void Exclude(Page page) { bits_.reset(size_t(page)); }
  bool Contains(Page page) const { return bits_.test(size_t(page)); }
  bool Empty() const { return bits_.none(); }
  // First member after / before `page` in notebook order.
  std::optional<Page> After(Page page) const;
  std::optional<Page> Before(Page page) const;

 private:
  std::bitset<kPageCount> bits_;
};

}  // namespace ostravel::wizard

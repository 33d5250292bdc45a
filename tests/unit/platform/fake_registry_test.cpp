// The fake registry deletes keys by the rules the Wine tests show for the real one.
#include "installer/platform/fake/fake_registry.h"

#include <gtest/gtest.h>

namespace ostravel::platform {
namespace {

constexpr auto kLm = RootKey::LocalMachine;

FakeRegistry TwoViews() {
  FakeRegistry reg;
  for (RegView view : {RegView::Wow32, RegView::Wow64}) {
    for (const char* key : {"Software\\P\\A", "Software\\P\\A\\Deep", "Software\\P\\B", "Software\\P2"})
      reg.Set(kLm, key, "v", "x", view);
  }
  return reg;
}

TEST(FakeRegistry, DeleteKeyRefusesAKeyWithSubkeys) {
  FakeRegistry reg = TwoViews();
  EXPECT_FALSE(reg.DeleteKey(kLm, "Software\\P\\A", RegView::Wow32));
  EXPECT_TRUE(reg.KeyExists(kLm, "Software\\P\\A\\Deep", RegView::Wow32));
  EXPECT_TRUE(reg.DeleteKey(kLm, "software\\p\\a\\DEEP", RegView::Wow32));
  EXPECT_TRUE(reg.DeleteKey(kLm, "Software\\P\\A", RegView::Wow32));
  EXPECT_FALSE(reg.DeleteKey(kLm, "Software\\P\\A", RegView::Wow32));
  EXPECT_TRUE(reg.KeyExists(kLm, "Software\\P\\A", RegView::Wow64));
}

TEST(FakeRegistry, DeleteKeyTreeTakesOneViewAndOnlyTheSubtree) {
  FakeRegistry reg = TwoViews();
  EXPECT_TRUE(reg.DeleteKeyTree(kLm, "Software\\P\\", RegView::Wow32));
  for (const char* key : {"Software\\P\\A", "Software\\P\\A\\Deep", "Software\\P\\B"}) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(reg.KeyExists(kLm, key, RegView::Wow32));
    EXPECT_TRUE(reg.KeyExists(kLm, key, RegView::Wow64));
  }
  EXPECT_TRUE(reg.KeyExists(kLm, "Software\\P2", RegView::Wow32));
  EXPECT_FALSE(reg.DeleteKeyTree(kLm, "Software\\P", RegView::Wow32));
}

TEST(FakeRegistry, DeleteKeyTreeNeverTakesARoot) {
  FakeRegistry reg = TwoViews();
  for (const char* path : {"", "\\", " \\ "}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(reg.DeleteKeyTree(kLm, path, RegView::Wow32));
  }
  EXPECT_TRUE(reg.KeyExists(kLm, "Software\\P2", RegView::Wow32));
}

}  // namespace
}  // namespace ostravel::platform

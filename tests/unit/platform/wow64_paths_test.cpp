#include "installer/platform/wow64_paths.h"

#include <gtest/gtest.h>

namespace ostravel::platform {
namespace {

TEST(Wow64FileName, LeadsSystemFolderPathsWhereA32BitProgramsFilesGo) {
  const Wow64Folders f{"C:\\Windows", "C:\\Windows\\system32", "C:\\Windows\\SysWOW64"};
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\Windows\\system32\\fbclient.dll", "C:\\Windows\\SysWOW64\\fbclient.dll"},
      {"c:\\WINDOWS\\SYSTEM32\\gds32.dll", "C:\\Windows\\SysWOW64\\gds32.dll"},
      {"C:\\Windows\\system32", "C:\\Windows\\SysWOW64"},
      {"C:\\Windows\\system32\\", "C:\\Windows\\SysWOW64\\"},
      {"C:\\Windows\\system32\\sub\\a.txt", "C:\\Windows\\SysWOW64\\sub\\a.txt"},
      // Names that merely begin the same, and other folders, stay.
      {"C:\\Windows\\system32x\\a.dll", "C:\\Windows\\system32x\\a.dll"},
      {"C:\\Windows\\a.dll", "C:\\Windows\\a.dll"},
      {"D:\\Windows\\system32\\a.dll", "D:\\Windows\\system32\\a.dll"},
      {"", ""},
      // What the system leaves in place, and the way to the real folder.
      {"C:\\Windows\\system32\\drivers\\etc\\hosts", "C:\\Windows\\system32\\drivers\\etc\\hosts"},
      {"C:\\Windows\\system32\\drivers\\x.sys", "C:\\Windows\\SysWOW64\\drivers\\x.sys"},
      {"C:\\Windows\\System32\\spool\\a", "C:\\Windows\\System32\\spool\\a"},
      {"C:\\Windows\\system32\\catroot2\\a", "C:\\Windows\\system32\\catroot2\\a"},
      {"C:\\Windows\\system32\\catrootx\\a", "C:\\Windows\\SysWOW64\\catrootx\\a"},
      {"C:\\Windows\\Sysnative\\msiexec.exe", "C:\\Windows\\system32\\msiexec.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(Wow64FileName(c.path, f), c.expected);
  }
  // 32-bit Windows has one system folder.
  EXPECT_EQ(Wow64FileName("C:\\Windows\\system32\\a.dll", {"C:\\Windows", "C:\\Windows\\system32", ""}),
            "C:\\Windows\\system32\\a.dll");
}

}  // namespace
}  // namespace ostravel::platform

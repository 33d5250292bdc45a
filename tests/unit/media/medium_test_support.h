#pragma once
// A small product, its template and the program doubles, in a temporary folder:
// the medium builder's and the lint's tests start from here.
#include <filesystem>
#include <fstream>
#include <string>

#include "base/cp1250.h"
#include "tests/unit/engine/archive_test_support.h"
#include "tests/unit/media/pe_test_support.h"
#include "tests/unit/test_support.h"
#include "tools/media/medium_builder.h"

namespace ostravel::media::medium_testing {

namespace fs = std::filesystem;

inline void Spit(const fs::path& p, const std::string& data) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << data;
}

inline std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Written in UTF-8 here, stored in CP1250 as a maker would.
inline const char8_t* kTemplate = u8R"([StartUp]
Title=Próba telepítő
[Configuration]
Application=Próba
Version=1.0
UnInstallLogFile=$DefaultDestination$\install.log
[Variables]
$varProgramYear$=2026
[Install Modules]
Count=1
Name1=Extra
PackName1=extra.dat
[Icons]
Count=1
Icon1.Placement=$UserPrograms$\Próba
Icon1.Title=Próba
Icon1.File=$DefaultDestination$\prog.exe
Icon1.IconFile=$DefaultDestination$\prog.exe
[Medium]
SourcePrefix=C:\Build
[Medium Component program]
Name=Program
PackName=data1
Checked=1
VolumeSize=17000
Source1=App
Target1=$DefaultDestination$
Rule1=2
Source2=Év\*.ini
Target2=$DefaultDestination$\$varProgramYear$
Rule2=1
Attributes2=RH
[Medium Component extra]
Module=Extra
Name=Kiegészítő
PackName=extra
Source1=Extra\leírás.txt
Target1=$DefaultDestination$\Extra
)";

class MediumFixture {
 public:
  test::TempDir dir;
  fs::path root{dir.Str()};
  fs::path product = root / "product", out = root / "medium", templ = root / "setup.tmpl";
  std::string launcher = "launcher double", installer = pe_testing::MakePeImage() + std::string(5000, 'x');
  MediumOptions options;

  MediumFixture() {
    Spit(product / "App" / "prog.exe", pe_testing::MakePeImage());
    Spit(product / "App" / "readme.txt", "hello\r\n");
    Spit(product / "App" / "sub" / "noise.bin", engine::archive_testing::TestContent(40000, false));
    Spit(product / fs::path(u8"Év") / "start.ini", "[A]\r\nB=1\r\n");
    Spit(product / "Extra" / fs::path(u8"leírás.txt"), "extra\r\n");
    SetTemplate(reinterpret_cast<const char*>(kTemplate));
    Spit(root / "startup.exe", launcher);
    Spit(root / "installer.exe", installer);
    options = {product, templ, out, root / "startup.exe", root / "installer.exe", false};
  }
  void SetTemplate(const std::string& utf8) { Spit(templ, Utf8ToCp1250(utf8)); }
  std::string Template() const { return Cp1250ToUtf8(Slurp(templ)); }
  MediumResult Build() { return BuildMedium(options); }
  static std::string Joined(const MediumResult& r) {
    std::string all;
    for (const auto& m : r.messages) all += m + "\n";
    return all;
  }
};

}  // namespace ostravel::media::medium_testing

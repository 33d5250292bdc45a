// The installation run and the uninstall run on the host file system, with the fake
// registry, links and fonts. Subcommands (driven by tools/ci/bench.sh):
//   gen DIR FILES MIB    DIR/src/pack1..4 (FILES files, MIB in all, nested folders) and
//                        DIR/medium/setup.inf listing every file in four components, with
//                        an update-state file (a section per file)
//   install MEDIUM DEST  the whole run: file list, rules, extraction, attributes,
//                        shortcuts, registry, update-state file, record (the archives lie in MEDIUM)
//   uninstall MEDIUM DEST  the uninstall run from the record the install left
// Each run prints "<mode> <seconds> <files> <peak RSS KiB>".
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/text.h"
#include "installer/engine/finish_install.h"
#include "installer/engine/run_context.h"
#include "installer/platform/fake/fake_http.h"
#include "installer/platform/fake/fake_registry.h"
#include "installer/platform/fake/fake_shell.h"
#include "installer/platform/fake/fake_system.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/process_services.h"

using namespace ostravel;
namespace fs = std::filesystem;

namespace {

constexpr int kPacks = 4;

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

struct Random {
  uint64_t state = 88172645463325252ull;
  uint32_t Next() {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    return uint32_t(state);
  }
};

// Half text-like, half noise, so packing compresses about as real products do.
std::string Content(Random& r, size_t size, bool text) {
  std::string s(size, ' ');
  for (size_t i = 0; i < size; ++i)
    s[i] = text ? "könyvelés ledger voucher 2026 \r\n"[(r.Next() >> 7) % 32] : char(r.Next() >> 11);
  return s;
}

int Generate(const std::string& dir, int count, uint64_t mib) {
  Random r;
  const size_t average = size_t(mib * 1048576 / uint64_t(count));
  std::string files = "[Files]\r\nCount=" + std::to_string(count) + "\r\n";
  std::string components = "[Components]\r\nCount=" + std::to_string(kPacks) + "\r\n";
  for (int p = 1; p <= kPacks; ++p) {
    const std::string c = "Component" + std::to_string(p);
    components += c + ".Name=Pack " + std::to_string(p) + "\r\n" + c + ".PackName=pack" + std::to_string(p) + "\r\n" +
                  c + ".Checked=1\r\n" + c + ".Size=1\r\n";
  }
  for (int i = 1; i <= count; ++i) {
    const int pack = 1 + (i - 1) * kPacks / count;
    const std::string rel =
        "dir" + std::to_string(i % 97) + "\\sub" + std::to_string(i % 7) + "\\f" + std::to_string(i) + ".dat";
    const fs::path path = fs::path(dir) / "src" / ("pack" + std::to_string(pack)) / ("dir" + std::to_string(i % 97)) /
                          ("sub" + std::to_string(i % 7)) / ("f" + std::to_string(i) + ".dat");
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << Content(r, average / 2 + r.Next() % (average + 1), i % 2 == 0);
    const std::string k = "File" + std::to_string(i);
    files += k + ".CompID=" + std::to_string(pack) + "\r\n" + k + ".SourceFile=C:\\pack" + std::to_string(pack) + "\\" +
             rel + "\r\n" + k + ".TargetFile=$DefaultDestination$\\pack" + std::to_string(pack) + "\\" + rel + "\r\n" +
             k + ".FileUpdateRule=" + std::to_string(i % 3) + "\r\n" + k + ".Archive=" + std::to_string(i % 2) +
             "\r\n" + k + ".RelPath=pack" + std::to_string(pack) + "\\" + rel + "\r\n" + k +
             ".MD5HashInfo=" + Format("%032X", i) + "\r\n";
  }
  fs::create_directories(fs::path(dir) / "medium");
  std::ofstream(fs::path(dir) / "medium" / "setup.inf", std::ios::binary)
      << "[Configuration]\r\nApplication=Bench\r\nVersion=1\r\nUnInstallLogFile=C:\\App\\uninstall.log\r\n"
      << "InstallLogFile=C:\\App\\state.ini\r\n"
      << "[Icons]\r\nCount=1\r\nIcon1.Placement=C:\\Menu\r\nIcon1.Title=Bench\r\n"
      << "Icon1.File=$DefaultDestination$\\pack1\\dir1\\sub1\\f1.dat\r\nIcon1.IconFile=$DefaultDestination$"
         "\\pack1\\dir1\\sub1\\f1.dat\r\n"
      << "[Registry]\r\nCount=1\r\nReg1.SubKey=Software\\Bench\r\nReg1.ValueName=Path\r\nReg1.ValueData=$"
         "DefaultDestination$\r\nReg1.CreateKey=1\r\n"
      << components << files;
  return 0;
}

class NoProgress : public engine::ProgressSurface {
 public:
  void SetRange(int, int maximum) override { maximum_ = maximum; }
  int Maximum() override { return maximum_; }
  void SetPosition(int position) override { position_ = position; }
  int Position() override { return position_; }
  void SetBaseOffset(int offset) override { base_ = offset; }
  int BaseOffset() override { return base_; }
  void SetBarVisible(bool) override {}
  void SetSmooth(bool) override {}
  void SetStatus(const std::string&) override {}
  void SetFileLabel(const std::string&) override {}
  void SetStep(const std::string&) override {}
  void ProcessMessages() override {}

 private:
  int maximum_ = 0, position_ = 0, base_ = 0;
};

class NoDialogs : public ui::MessageDialogs {
 public:
  int ShowMessage(const std::string& text, ui::MsgDlgType, uint32_t, int) override {
    std::fprintf(stderr, "bench: message: %s\n", text.c_str());
    return ui::mrOk;
  }
};

int Run(bool uninstall, const std::string& medium, const std::string& dest) {
  platform::HostFileSystem files;
  files.MapDrive('D', medium);
  files.MapDrive('C', dest);
  platform::FakeRegistry registry;
  platform::FakeSystem system;
  platform::FakeShell shell{files};
  platform::FakeFonts fonts;
  platform::FakeHttpClient http;
  platform::Platform machine{files, registry, system, shell, fonts, http};
  registry.Set(platform::RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
               "C:\\Common");
  registry.Set(platform::RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               "Programs", "C:\\Menu\\Programs");
  ProcessState process;
  process.sourceFolder = "D:\\";
  process.scriptPath = "D:\\setup.inf";
  process.programPath = "D:\\setup.inf";  // stands in for the program copied to the shared folder
  process.installRecordPath = "C:\\App\\uninstall.log";
  process.switches.uninstall = uninstall;
  PathVariables variables(registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\TEMP\\", "D:\\");
  variables.SetApplicationName("Bench v1");
  DiagnosticLog log(files, system, "C:\\TEMP\\");
  NoDialogs dialogs;
  model::Selection selection;
  selection.modules.push_back({"", true, true, false, true});
  // The components as the selection pages leave them: the four packages `gen` wrote.
  for (int p = 1; p <= kPacks; ++p) {
    model::ComponentEntry c;
    c.number = p, c.name = "Pack " + std::to_string(p), c.packName = "pack" + std::to_string(p), c.size = 1;
    c.checked = c.selected = c.valid = true;
    selection.components.push_back(c);
  }
  model::ServerDecisions server;
  model::WebUpdate web;
  model::InstallRecordEntries record;
  model::FinishActions finish;
  engine::RunChoices choices;
  choices.destination = "C:\\App";
  choices.hasOpSystemList = false;
  NoProgress progress;
  int errors = 0;
  Services services{machine, process, variables, log, dialogs};
  engine::RunContext ctx{services,
                         selection,
                         server,
                         web,
                         record,
                         finish,
                         choices,
                         progress,
                         [&](const std::string& text) {
                           std::fprintf(stderr, "bench: error: %s\n", text.c_str());
                           ++errors;
                         },
                         [&] { return errors > 0; }};
  const auto start = std::chrono::steady_clock::now();
  engine::RunInstallation(ctx);
  if (!uninstall) engine::FinishInstallation(ctx);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  size_t copied = 0;
  for (const auto& e : record) copied += e.kind == model::RecordAction::CopyFile;
  std::printf("%s %.3f %zu %ld\n", uninstall ? "uninstall" : "install", seconds, copied, PeakRssKib());
  return errors == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "gen" && argc == 5) return Generate(argv[2], std::atoi(argv[3]), std::strtoull(argv[4], nullptr, 10));
  if ((mode == "install" || mode == "uninstall") && argc == 4) return Run(mode == "uninstall", argv[2], argv[3]);
  std::fprintf(stderr, "usage: bench_install gen DIR FILES MIB | install MEDIUM DEST | uninstall MEDIUM DEST\n");
  return 2;
}

// Any bytes as the update site's download.inf: the update-script download, the
// installer version check and a whole header check and package download over the
// components it lists never crash, nothing is written outside the temporary folder
// and the copy target, and nothing reaches the copy target unless its digest is the
// one the script gives.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/installer_error.h"
#include "base/md5.h"
#include "installer/net/installer_version.h"
#include "installer/net/package_download.h"
#include "installer/net/update_script.h"
#include "installer/platform/fake/fake_machine.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"
#include "installer/script/unattended_dialogs.h"
#include "installer/ui/progress_surface.h"

namespace {

using namespace ostravel;

class Dialogs : public ui::MessageDialogs {
 public:
  int ShowMessage(const std::string&, ui::MsgDlgType, uint32_t, int) override { return ui::mrOk; }
};

class Progress : public ui::ProgressSurface {
 public:
  int max = 0, pos = 0, base = 0;
  void SetRange(int, int hi) override { max = hi; }
  int Maximum() override { return max; }
  void SetPosition(int p) override { pos = p; }
  int Position() override { return pos; }
  void SetBaseOffset(int o) override { base = o; }
  int BaseOffset() override { return base; }
  void SetBarVisible(bool) override {}
  void SetSmooth(bool) override {}
  void SetStatus(const std::string&) override {}
  void SetFileLabel(const std::string&) override {}
  void SetStep(const std::string&) override {}
  void ProcessMessages() override {}
};

class Statistics : public net::DownloadStatisticsSurface {
 public:
  uint32_t ticks = 0;
  void SetVisible(bool) override {}
  std::string PackagePathCaption() override { return ""; }
  void SetPackagePath(const std::string&) override {}
  void SetPackageSize(const std::string&) override {}
  void SetPackageDone(const std::string&) override {}
  void SetSpeed(const std::string&) override {}
  void StartTimer(int, std::function<void()> tick) override { tick(); }
  void StopTimer() override {}
  uint32_t TickCount() override { return ticks += 1000; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string site = "http://upd.example/2015/";
  platform::FakeMachine m;
  ProcessState process;
  process.scriptPath = "D:\\Setup\\setup.inf";
  process.switches.silent = true;
  m.files.AddFile(process.scriptPath, "[Configuration]\r\n");
  PathVariables variables(m.registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\TEMP\\", "D:\\Setup\\");
  DiagnosticLog log(m.files, m.system, "C:\\TEMP\\");
  Dialogs dialogs;
  UnattendedDialogs unattended(dialogs, process);
  Services services{m.platform, process, variables, log, unattended};
  net::NetContext net{services, nullptr};
  model::WebUpdate web;
  web.webUpdateUrl = site;
  m.http.Serve(site + "download.inf", platform::FakeHttpClient::Ok(std::string(reinterpret_cast<const char*>(data), size)));
  try {
    net::DownloadUpdateScript(net, web);
  } catch (const InstallerError&) {
    return 0;
  }
  net::InstallerVersionCheck(net, web, true, true);

  model::Selection selection;
  WithScript(m.files, process.scriptPath, [&](const TExtIniFile& ini) {
    for (const auto& k : ReadComponentList(ini, "")) {
      model::ComponentEntry c;
      c.number = k.number;
      c.name = k.name;
      c.packName = k.packName;
      c.size = k.size;
      c.packSize = k.packSize;
      c.packChecksum = k.packMD5Checksum;
      c.selected = true;
      // The site serves each archive with the size the script announces, up to a bound.
      const std::string body(size_t(k.packSize > 0 && k.packSize < 4096 ? k.packSize : 7), 'z');
      m.http.Serve(net::FileAddress(site, k.packName + ".dat"), platform::FakeHttpClient::Ok(body));
      selection.components.push_back(c);
    }
  });
  Progress progress;
  Statistics statistics;
  net::DownloadRun run{net, selection, web, progress, statistics, "C:\\Copy\\", [](const std::string&) {}, nullptr};
  net::RunWebDownload(run);
  for (const auto& path : m.files.AllFiles()) {
    // Whatever the script names, files land only in the temporary folder and the copy target.
    if (path.rfind("C:\\TEMP\\", 0) != 0 && path.rfind("C:\\Copy\\", 0) != 0 && path != process.scriptPath &&
        path != "D:\\Setup\\setup.inf")
      std::abort();
    if (path.rfind("C:\\Copy\\", 0) != 0) continue;
    bool described = false;
    for (const auto& c : selection.components)
      if (path == "C:\\Copy\\" + c.packName + ".dat" && Md5Hex(*m.files.Contents(path)) == c.packChecksum) described = true;
    if (!described) std::abort();
  }
  return 0;
}

#pragma once
// A web update on the fakes: machine, script, log, dialogs, the progress page and
// the statistics box, all recorded.
#include <gtest/gtest.h>

#include "base/cp1250.h"
#include "base/md5.h"
#include "base/sha256.h"
#include "base/text.h"
#include "installer/net/package_download.h"
#include "installer/platform/fake/fake_machine.h"
#include "installer/script/unattended_dialogs.h"
#include "tests/unit/wizard/recording_view.h"

namespace ostravel::test {

class RecordingProgress : public ui::ProgressSurface {
 public:
  int minimum = 0, maximum = 0, position = 0, base = 0;
  std::vector<std::string> statuses;
  void SetRange(int lo, int hi) override { minimum = lo, maximum = hi; }
  int Maximum() override { return maximum; }
  void SetPosition(int p) override { position = p; }
  int Position() override { return position; }
  void SetBaseOffset(int offset) override { base = offset; }
  int BaseOffset() override { return base; }
  void SetBarVisible(bool) override {}
  void SetSmooth(bool) override {}
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetFileLabel(const std::string&) override {}
  void SetStep(const std::string&) override {}
  void ProcessMessages() override {}
};

class RecordingStatistics : public net::DownloadStatisticsSurface {
 public:
  bool visible = false, timerRunning = false;
  std::vector<bool> shown;
  std::string path, size, done, speed;
  std::vector<std::string> paths;
  uint32_t ticks = 5000;
  std::function<void()> tick;
  void SetVisible(bool v) override { shown.push_back(visible = v); }
  std::string PackagePathCaption() override { return "Csomag: "; }
  void SetPackagePath(const std::string& t) override { paths.push_back(path = t); }
  void SetPackageSize(const std::string& t) override { size = t; }
  void SetPackageDone(const std::string& t) override { done = t; }
  void SetSpeed(const std::string& t) override { speed = t; }
  void StartTimer(int, std::function<void()> fn) override { timerRunning = true, tick = std::move(fn); }
  void StopTimer() override { timerRunning = false; }
  uint32_t TickCount() override { return ticks; }
};

class NetTest : public ::testing::Test {
 protected:
  static constexpr const char* kSite = "http://upd.example/2015/";
  static constexpr const char* kTemp = "C:\\TEMP\\";
  static constexpr const char* kCopy = "C:\\Belloro\\Csomagok\\";

  NetTest() {
    process.scriptPath = "D:\\Setup\\setup.inf";
    web.webUpdateUrl = kSite;
    web.downloadGeneral = "Letöltési hiba!";
    web.md5ChecksumFailed = "MD5 Checksum failed!";
    m.files.AddFile(process.scriptPath, "[Copy Files Page]\r\nDownloadFiles=Letöltés\r\n");
  }

  net::NetContext Net() {
    return {services, [this](const std::string& t) { plainBox.ShowMessage(t, ui::MsgDlgType::Error, ui::mbOK, 0); }};
  }

  // A component of the main module, listed and checked, whose archive the site serves.
  model::ComponentEntry& AddComponent(const std::string& pack, const std::string& data, bool checked = true) {
    model::ComponentEntry c;
    c.number = int(selection.components.size()) + 1;
    c.name = "Komponens " + pack;
    c.packName = pack;
    c.size = 100;
    c.packSize = int32_t(data.size());
    c.packChecksum = Md5Hex(data);
    c.selected = c.checked = checked;
    m.http.Serve(std::string(kSite) + pack + ".dat", platform::FakeHttpClient::Ok(data));
    selection.components.push_back(c);
    return selection.components.back();
  }

  bool RunDownload() {
    net::DownloadRun run{Net(), selection, web, progress, statistics, kCopy,
                         [this](const std::string& t) { errorPage.push_back(t); }, nullptr};
    return net::RunWebDownload(run);
  }

  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (const auto& l : SplitLines(m.files.Contents(log.LogPath()).value_or("")))
      lines.push_back(l.substr(l.find("Event: ") + 7));
    return lines;
  }

  platform::FakeMachine m;
  ProcessState process;
  PathVariables variables{m.registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", kTemp, "D:\\Setup\\"};
  DiagnosticLog log{m.files, m.system, kTemp};
  ScriptedDialogs dialogs;
  UnattendedDialogs unattended{dialogs, process};
  Services services{m.platform, process, variables, log, unattended};
  // The window's plain error box, answered as the application answers it.
  struct PlainBoxes : ui::MessageDialogs {
    std::vector<std::string> shown;
    int ShowMessage(const std::string& text, ui::MsgDlgType, uint32_t, int) override {
      shown.push_back(text);
      return ui::mrOk;
    }
  } plainShown;
  UnattendedDialogs plainBox{plainShown, process};
  std::vector<std::string>& boxes = plainShown.shown;
  std::vector<std::string> errorPage;
  model::Selection selection;
  model::WebUpdate web;
  RecordingProgress progress;
  RecordingStatistics statistics;
};

}  // namespace ostravel::test

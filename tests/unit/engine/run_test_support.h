#pragma once
// An installation run on the fake machine: the medium in D:\Setup\, the product
// going to C:\App, a recording progress page and scripted dialogs.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "base/text.h"
#include "installer/engine/run_context.h"
#include "installer/platform/fake/fake_machine.h"
#include "installer/script/unattended_dialogs.h"
#include "tests/unit/engine/archive_test_support.h"

namespace ostravel::engine::testing {

class RecordingProgress : public ProgressSurface {
 public:
  std::vector<std::string> steps, statuses;
  int minimum = 0, maximum = 0, position = 0, base = 0;
  bool barVisible = true, smooth = false;
  std::string fileLabel, percent, info;
  std::function<void(const std::string&)> onFileLabel;  // a fault to inject mid-extraction
  void SetRange(int lo, int hi) override { minimum = lo, maximum = hi; }
  int Maximum() override { return maximum; }
  void SetPosition(int p) override { position = p; }
  int Position() override { return position; }
  void SetBaseOffset(int offset) override { base = offset; }
  int BaseOffset() override { return base; }
  void SetBarVisible(bool visible) override { barVisible = visible; }
  void SetSmooth(bool s) override { smooth = s; }
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetFileLabel(const std::string& text) override {
    fileLabel = text;
    if (onFileLabel) onFileLabel(text);
  }
  void SetStep(const std::string& name) override { steps.push_back(name); }
  void ProcessMessages() override {}
  void SetPercentLabel(const std::string& text) override { percent = text; }
  void SetInfo(const std::string& text) override { info = text; }
};

class Dialogs : public ui::MessageDialogs {
 public:
  std::vector<std::string> shown;
  std::deque<int> answers;
  int ShowMessage(const std::string& text, ui::MsgDlgType, uint32_t, int) override {
    shown.push_back(text);
    if (answers.empty()) return ui::mrOk;
    int a = answers.front();
    answers.pop_front();
    return a;
  }
};

// A script built key by key; sections come out in the order first used.
class Script {
 public:
  Script& Set(const std::string& section, const std::string& key, const std::string& value) {
    if (!sections_.count(section)) order_.push_back(section);
    sections_[section].push_back(key + "=" + value);
    return *this;
  }
  // File<n> of the base product; `extra` is one more key, ".Suffix=value".
  Script& File(int n, const std::string& source, const std::string& target, int rule = 0, const std::string& extra = "",
               int component = 1) {
    const std::string k = "File" + std::to_string(n);
    Set("Files", "Count", std::to_string(n));
    Set("Files", k + ".CompID", std::to_string(component))
        .Set("Files", k + ".SourceFile", source)
        .Set("Files", k + ".TargetFile", target);
    Set("Files", k + ".FileUpdateRule", std::to_string(rule));
    if (!extra.empty()) Set("Files", k + extra.substr(0, extra.find('=')), extra.substr(extra.find('=') + 1));
    return *this;
  }
  std::string Text() const {
    std::string out;
    for (const auto& s : order_) {
      out += "[" + s + "]\r\n";
      // The last Count wins: write it first.
      for (auto it = sections_.at(s).rbegin(); it != sections_.at(s).rend(); ++it)
        if (it->rfind("Count=", 0) == 0) {
          out += *it + "\r\n";
          break;
        }
      for (const auto& l : sections_.at(s))
        if (l.rfind("Count=", 0) != 0) out += l + "\r\n";
    }
    return out;
  }

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::vector<std::string>> sections_;
};

// Everything a run needs, on the fake machine; table cases make one each.
struct RunSetup {
  RunSetup() {
    m.registry.Set(platform::RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
                   "C:\\Common");
    m.registry.Set(platform::RootKey::CurrentUser,
                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs",
                   "C:\\Menu\\Programs");
    process.sourceFolder = "D:\\Setup\\";
    process.systemFolder = "C:\\WINDOWS\\system32\\";
    process.scriptPath = "D:\\Setup\\setup.inf";
    process.programPath = "D:\\Setup\\installer.exe";
    process.installRecordPath = "C:\\App\\uninstall.log";
    m.files.AddFile(process.programPath, "MZ installer");
    variables.SetApplicationName("Lumbra v2026");
    choices.destination = "C:\\App";
    choices.installStartTime = DateTime{2026, 3, 7, 14, 5, 9, 0};
  }

  // One archive D:\Setup\<pack>.dat of (stored name, content) members, time 0x5C6A7000.
  void Pack(const std::string& pack, const std::vector<std::pair<std::string, std::string>>& members) {
    archive_testing::ArchiveBytes a;
    a.Header(1000);
    for (const auto& [name, data] : members) a.Member(name, kPackTime, data);
    m.files.AddFile("D:\\Setup\\" + pack + ".dat", a.End().str());
  }
  void AddComponent(const std::string& pack) {
    model::ComponentEntry c;
    c.name = pack, c.packName = pack, c.selected = true, c.size = 1;
    selection.components.push_back(c);
  }

  RunContext Context() {
    return RunContext{services,
                      selection,
                      server,
                      web,
                      record,
                      finish,
                      choices,
                      progress,
                      [this](const std::string& text) { errors.push_back(text); },
                      [this] { return !errors.empty(); }};
  }
  void WriteScript(const Script& script) { m.files.AddFile(process.scriptPath, script.Text()); }
  void Go() {
    RunContext ctx = Context();
    RunInstallation(ctx);
    end = ctx.end;
  }
  void Install(const Script& script) {
    WriteScript(script);
    Go();
  }
  std::string Contents(const std::string& path) { return m.files.Contents(path).value_or("<missing>"); }
  uint64_t Used() {
    uint64_t n = 0;
    for (const auto& f : m.files.AllFiles()) n += m.files.Contents(f)->size();
    return n;
  }
  bool Recorded(const std::string& line) {
    for (const std::string& l : SplitLines(Contents(process.installRecordPath)))
      if (l == line) return true;
    return false;
  }

  static constexpr int32_t kPackTime = 0x5C6A7000;
  platform::FakeMachine m;
  ProcessState process;
  PathVariables variables{m.registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\TEMP\\", "D:\\Setup\\"};
  DiagnosticLog log{m.files, m.system, "C:\\TEMP\\"};
  Dialogs dialogs;
  UnattendedDialogs unattended{dialogs, process};
  Services services{m.platform, process, variables, log, unattended};
  model::Selection selection;
  model::ServerDecisions server;
  model::WebUpdate web;
  model::InstallRecordEntries record;
  model::FinishActions finish;
  RunChoices choices;
  RecordingProgress progress;
  std::vector<std::string> errors;
  RunEnd end = RunEnd::Idle;
};

class RunTest : public ::testing::Test, public RunSetup {};

}  // namespace ostravel::engine::testing

#pragma once
// A machine made of fakes and a server context over it, for the database-server
// tests: 32-bit Windows unless a test says otherwise, the medium in D:\Setup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/dbserver/server_context.h"
#include "installer/dbserver/server_names.h"
#include "installer/platform/fake/fake_machine.h"
#include "installer/script/unattended_dialogs.h"
#include "tests/unit/wizard/recording_view.h"

namespace ostravel::test {

using platform::RootKey;

inline platform::VersionRecord Version(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  platform::VersionRecord v;
  v.valid = true;
  v.productMajor = v.fileMajor = a;
  v.productMinor = v.fileMinor = b;
  v.productRelease = v.fileRelease = c;
  v.productBuild = v.fileBuild = d;
  return v;
}

class ServerFixture : public ::testing::Test {
 protected:
  static constexpr const char* kBase = "C:\\Program Files\\FireBird";
  static constexpr const char* kFolder = "C:\\Program Files\\FireBird\\Firebird_2_5\\";

  platform::FakeMachine m;
  ProcessState process;
  PathVariables vars{m.registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\TEMP\\", "D:\\Setup\\"};
  DiagnosticLog log{m.files, m.system, "C:\\TEMP\\"};
  ScriptedDialogs dialogs;
  model::ServerDecisions server;
  std::vector<std::string> jumps;
  UnattendedDialogs unattended{dialogs, process};
  Services services{m.platform, process, vars, log, unattended};
  dbserver::ServerContext ctx{services, server};

  void SetUp() override {
    process.sourceFolder = "D:\\Setup\\";
    m.registry.Set(RootKey::LocalMachine, dbserver::kWindowsVersionKey, "ProgramFilesDir", "C:\\Program Files");
    vars.SetCurrentDestination("C:\\BELLORO.WIN");
    vars.SetUserVariables({"$varProgramYear$=2020", "$varPastProgYear$=2019"});
    ctx.errorJump = [this](const std::string& text) { jumps.push_back(text); };
    server.hasAdminRights = true;
  }

  // A server program with a version resource; registered as the default instance.
  void AddServer(const std::string& folder, const char* program, platform::VersionRecord version) {
    m.files.AddFile(folder + "bin\\" + program, "MZ");
    m.system.versions[folder + "bin\\" + program] = version;
    m.registry.Set(RootKey::LocalMachine, dbserver::kInstancesKey, dbserver::kDefaultInstance, folder);
  }
  void AddArchive() { m.files.AddFile("D:\\Setup\\firebird.dat", "archive"); }
  platform::FakeServices::Entry& Service(const std::string& name, uint32_t start, bool running) {
    auto& e = m.services.services[name];
    e.config.startType = start;
    e.config.displayName = name;
    e.config.account = "LocalSystem";
    e.config.dependencies = {"Tcpip"};
    e.running = running;
    return e;
  }
};

}  // namespace ostravel::test

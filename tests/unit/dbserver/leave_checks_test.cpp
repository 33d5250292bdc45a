#include "installer/dbserver/leave_checks.h"
#include "tests/unit/dbserver/server_fixture.h"

namespace ostravel::test {
namespace {

using namespace dbserver;

class LeaveChecks : public ServerFixture {
 protected:
  std::vector<std::string> app;
  void SetUp() override {
    ServerFixture::SetUp();
    ctx.minimise = [this] { app.push_back("minimise"); };
    ctx.restore = [this] { app.push_back("restore"); };
  }
};

TEST_F(LeaveChecks, InstallKindStopsAnOlderServerForTheUpgrade) {
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 2, 26540));
  Service(kServerService, platform::kStartAutomatic, true);
  EXPECT_TRUE(InstallKindLeaveCheck(ctx, true));
  EXPECT_EQ(server.serverFolder, kFolder);
  EXPECT_TRUE(server.upgradeServer);
  EXPECT_FALSE(m.services.services[kServerService].running);
  EXPECT_EQ(m.services.services[kServerService].config.startType, platform::kStartDisabled);
  EXPECT_EQ(app, (std::vector<std::string>{"minimise", "restore"}));
  EXPECT_TRUE(jumps.empty());
}

TEST_F(LeaveChecks, InstallKindFailures) {
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 2, 26540));
  m.windows.windows.push_back({"FB_Server", platform::FakeDesktopWindows::OnClose::Refuses, ""});
  EXPECT_FALSE(InstallKindLeaveCheck(ctx, true));
  EXPECT_EQ(jumps, std::vector<std::string>{kCannotStopRunningServer});
  EXPECT_EQ(app.back(), "restore");

  jumps.clear();
  server.hasAdminRights = false;
  EXPECT_FALSE(InstallKindLeaveCheck(ctx, true));
  EXPECT_FALSE(server.upgradeServer);
  EXPECT_EQ(jumps, std::vector<std::string>{kAdminRightsNeeded});
}

TEST_F(LeaveChecks, InstallKindLeavesCurrentOrUnreplaceableServersAlone) {
  struct Case {
    platform::VersionRecord version;
    bool archive;
  } cases[] = {{Version(2, 5, 4, 26856), true}, {Version(2, 5, 2, 26540), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.archive);
    AddServer(kFolder, "fbserver.exe", c.version);
    Service(kServerService, platform::kStartAutomatic, true);
    EXPECT_TRUE(InstallKindLeaveCheck(ctx, c.archive));
    EXPECT_FALSE(server.upgradeServer);
    EXPECT_TRUE(m.services.services[kServerService].running);
    EXPECT_TRUE(app.empty());
  }
}

TEST_F(LeaveChecks, DestinationDecidesFreshInstallAndServerInstallation) {
  AddArchive();
  DestinationLeaveCheck(ctx, true);
  EXPECT_TRUE(server.freshServerInstall && server.writeAppDefaults && server.installServer);

  // An existing year ini, a DOS variant or an installed server keep the earlier flags.
  model::ServerDecisions cleared;
  cleared.hasAdminRights = true;
  server = cleared;
  m.files.AddFile("C:\\BELLORO.WIN\\2020\\korb2020.ini", "");
  DestinationLeaveCheck(ctx, true);
  EXPECT_FALSE(server.freshServerInstall || server.writeAppDefaults || server.installServer);
  m.files.DeleteFile("C:\\BELLORO.WIN\\2020\\korb2020.ini");
  DestinationLeaveCheck(ctx, false);
  EXPECT_FALSE(server.freshServerInstall);

  // Silent: defaults yes, fresh server no; an older server is still installed over.
  process.switches.silent = true;
  server.serverFolder = kFolder;
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 2, 26540));
  DestinationLeaveCheck(ctx, true);
  EXPECT_TRUE(server.writeAppDefaults && server.installServer);
  EXPECT_FALSE(server.freshServerInstall);
  server.hasAdminRights = false;
  DestinationLeaveCheck(ctx, true);
  EXPECT_FALSE(server.installServer);
}

TEST_F(LeaveChecks, ModuleRules) {
  auto modules = [](bool pettybox, bool serverPackage) {
    std::vector<model::InstallModuleEntry> list(3);
    list[1].name = "FireBird";
    list[1].packagePresent = serverPackage;
    list[2].name = "PETTYBOX";
    list[2].included = pettybox;
    return list;
  };
  auto list = modules(false, true);
  server.freshServerInstall = true;
  ApplyServerModuleRules(ctx, list);
  EXPECT_TRUE(list[1].included);

  server = {};
  list = modules(true, true);
  ApplyServerModuleRules(ctx, list);  // no server on the machine: PETTYBOX pulls it in
  EXPECT_TRUE(list[1].included && server.installServer);

  server = {};
  AddServer(kFolder, "fbserver.exe", Version(2, 5, 4, 26856));
  for (auto [pettybox, package] : {std::pair{true, true}, std::pair{true, false}, std::pair{false, true}}) {
    list = modules(pettybox, package);
    ApplyServerModuleRules(ctx, list);
    EXPECT_FALSE(list[1].included || server.installServer);
  }
}

}  // namespace
}  // namespace ostravel::test

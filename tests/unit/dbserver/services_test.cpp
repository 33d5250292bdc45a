#include "installer/dbserver/fb_services_step.h"
#include "installer/dbserver/server_restore.h"
#include "installer/dbserver/server_stop.h"
#include "installer/dbserver/service_setup.h"
#include "installer/dbserver/service_stop.h"
#include "tests/unit/dbserver/server_fixture.h"

namespace ostravel::test {
namespace {

using namespace dbserver;
using Services = ServerFixture;
using OnClose = platform::FakeDesktopWindows::OnClose;

TEST_F(Services, StopAndDisable) {
  struct Case {
    const char* name;
    bool exists, running;
    uint32_t openError;
    bool done;
    uint32_t startAfter;
  } cases[] = {
      {"running", true, true, 0, true, platform::kStartDisabled},
      {"stopped", true, false, 0, false, platform::kStartAutomatic},
      {"missing", false, false, 0, true, 0},
      {"bad name", true, true, platform::kErrorInvalidName, true, platform::kStartAutomatic},
      {"denied", true, true, 5, false, platform::kStartAutomatic},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m.services.services.clear();
    if (c.exists) Service(c.name, platform::kStartAutomatic, c.running).openError = c.openError;
    EXPECT_EQ(StopAndDisableService(m.services, c.name), c.done);
    if (c.exists) {
      EXPECT_EQ(m.services.services[c.name].config.startType, c.startAfter);
    }
    EXPECT_EQ(m.services.openHandles, 0);
  }
  m.services.managerUnavailable = true;
  EXPECT_FALSE(StopAndDisableService(m.services, "missing"));
}

TEST_F(Services, StopServersClosesTheInterBaseWindowFirst) {
  struct Case {
    std::vector<platform::FakeDesktopWindows::Window> windows;
    std::vector<std::string> asked;
    bool stopped;
  } cases[] = {
      {{}, {}, true},
      {{{"FB_Server", OnClose::Closes, ""}, {"IB_Server", OnClose::Closes, ""}}, {"IB_Server"}, true},
      {{{"FB_Server", OnClose::Refuses, ""}}, {"FB_Server"}, false},
      {{{"IB_Server", OnClose::Hangs, ""}}, {"IB_Server"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked.size());
    m.windows.windows = c.windows;
    m.windows.closeRequests.clear();
    EXPECT_EQ(StopServers(m.platform), c.stopped);
    EXPECT_EQ(m.windows.closeRequests, c.asked);
  }
}

TEST_F(Services, StopServersWaitsUntilEveryServiceReportsStopped) {
  struct Case {
    int pendingQueries;
    bool neverStops, refusesStop, stopped;
    uint64_t pausedMs;
  } cases[] = {{0, false, false, true, 0},
               {20, false, false, true, 5000},
               {0, true, false, false, kServiceStopWaitMs},
               {0, false, true, false, kServiceStopWaitMs}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pausedMs);
    m.system.pausedMs = 0;
    auto& e = Service(kServerService, platform::kStartAutomatic, true);
    std::tie(e.stopPendingQueries, e.neverStops, e.refusesStop, e.stopPending) =
        std::tuple{c.pendingQueries, c.neverStops, c.refusesStop, false};
    EXPECT_EQ(StopServers(m.platform), c.stopped);
    EXPECT_EQ(m.system.pausedMs, c.pausedMs);
  }
}

TEST_F(Services, RestorePutsBackWhatTheFirstStopFoundExceptWhatTheRunSettled) {
  Service(kGuardianService, platform::kStartAutomatic, true);
  Service(kInterBaseService, platform::kStartOnDemand, true).stopPendingQueries = 3;
  EXPECT_TRUE(StopRememberedServers(ctx));
  EXPECT_TRUE(StopRememberedServers(ctx));  // a second stop keeps what the first found
  RestoreServers(ctx, {kGuardianService});
  RestoreServers(ctx);  // forgotten once put back
  EXPECT_EQ(m.services.services[kGuardianService].config.startType, platform::kStartDisabled);
  EXPECT_TRUE(m.services.services[kInterBaseService].running);
  EXPECT_EQ(m.services.services[kInterBaseService].config.startType, platform::kStartOnDemand);
  EXPECT_EQ(m.services.openHandles, 0);
}

// With RollbackOnFailure the stop's memory is in the registry while the servers are
// down: a program started after a kill puts them back as the killed one found them,
// not as it left them.
TEST_F(Services, TheStartAfterAKilledRunPutsTheServersBack) {
  auto& server = Service(kServerService, platform::kStartAutomatic, true);
  for (bool kept : {true, false}) {
    SCOPED_TRACE(kept ? "kept" : "not kept");
    const std::string before = m.registry.Dump();
    server.running = true, server.config.startType = platform::kStartAutomatic;
    ctx.server.stopped = {};
    ctx.server.stopped.keepOnDisk = kept;
    EXPECT_TRUE(StopRememberedServers(ctx));
    EXPECT_EQ(m.registry.KeyExists(platform::RootKey::LocalMachine, kStoppedServersKey, platform::RegView::Wow32),
              kept);
    ctx.server = {};  // killed; the next program starts
    PutBackServersOfKilledRun(ctx);
    EXPECT_EQ(server.running, kept);
    EXPECT_EQ(server.config.startType, kept ? platform::kStartAutomatic : platform::kStartDisabled);
    EXPECT_EQ(m.registry.Dump(), before);
  }
  // A run that ends as it should forgets the memory with the restore.
  server.running = true, server.config.startType = platform::kStartAutomatic;
  ctx.server = {};
  ctx.server.stopped.keepOnDisk = true;
  EXPECT_TRUE(StopRememberedServers(ctx));
  RestoreServers(ctx);
  EXPECT_FALSE(m.registry.KeyExists(platform::RootKey::LocalMachine, kStoppedServersKey, platform::RegView::Wow32));
  EXPECT_TRUE(server.running);
}

// The window may close while the stop waits: its restore follows the stop.
TEST_F(Services, ARestoreAskedForDuringTheStopRunsWhenTheStopHasEnded) {
  auto& e = Service(kServerService, platform::kStartAutomatic, true);
  e.stopPendingQueries = 4;
  bool stillDown = false;
  m.system.onPause = [&] {
    RestoreServers(ctx);
    stillDown = stillDown || !e.running;
  };
  EXPECT_TRUE(StopRememberedServers(ctx));
  EXPECT_TRUE(stillDown && e.running);
  EXPECT_EQ(e.config.startType, platform::kStartAutomatic);
}

TEST_F(Services, ReconfigureKeepsEverythingButProgramLineAndStartType) {
  Service(kGuardianService, platform::kStartDisabled, false);
  Service(kServerService, platform::kStartDisabled, false);
  AddServer("D:\\FB\\", "fbserver.exe", Version(2, 5, 4, 26856));
  AlterFBWindowsService(ctx, "D:\\FB");
  for (auto [name, program, start] : {std::tuple{kGuardianService, "fbguard.exe", platform::kStartAutomatic},
                                      std::tuple{kServerService, "fbserver.exe", platform::kStartOnDemand}}) {
    const auto& e = m.services.services[name];
    EXPECT_EQ(e.config.binaryPath, std::string("\"D:\\FB\\bin\\") + program + "\" -s DefaultInstance");
    EXPECT_EQ(e.config.startType, start);
    EXPECT_EQ(e.config.displayName, name);
    EXPECT_EQ(e.config.dependencies, std::vector<std::string>{"Tcpip"});
    EXPECT_TRUE(e.running);
  }
  EXPECT_EQ(m.services.openHandles, 0);
}

TEST_F(Services, ReconfigureCreatesMissingServicesAndPassesOverUnreadableOnes) {
  ReconfigureAndStartService(m.platform, kServerService, "fb_inet_server.exe", "D:\\FB\\");
  const auto& created = m.services.services[kServerService];
  EXPECT_EQ(created.config.binaryPath, "\"D:\\FB\\bin\\fb_inet_server.exe\" -s DefaultInstance");
  EXPECT_EQ(created.config.startType, platform::kStartAutomatic);
  EXPECT_EQ(created.config.displayName, "Firebird Server - DefaultInstance");
  EXPECT_EQ(created.config.account, "LocalSystem");
  EXPECT_TRUE(created.running);

  auto& unreadable = Service(kGuardianService, platform::kStartDisabled, false);
  unreadable.configUnreadable = true;
  unreadable.config.binaryPath = "old";
  ReconfigureAndStartService(m.platform, kGuardianService, "fbguard.exe", "");  // no default instance either
  EXPECT_EQ(m.services.services[kGuardianService].config.binaryPath, "old");
  EXPECT_TRUE(m.services.services[kGuardianService].running);

  // An empty folder means the registered default instance.
  m.services.services.clear();
  m.registry.Set(RootKey::LocalMachine, kInstancesKey, kDefaultInstance, "E:\\Srv\\");
  ReconfigureAndStartService(m.platform, kGuardianService, "fbguard.exe", "");
  EXPECT_EQ(m.services.services[kGuardianService].config.binaryPath,
            "\"E:\\Srv\\bin\\fbguard.exe\" -s DefaultInstance");
  EXPECT_EQ(m.services.openHandles, 0);
}

}  // namespace
}  // namespace ostravel::test

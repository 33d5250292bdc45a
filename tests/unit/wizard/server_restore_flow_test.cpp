// A server stopped on leaving the installation-kind page is running again, with
// its start types, whichever way the wizard ends before the run's service step.
#include "installer/dbserver/server_names.h"
#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::Page;

enum class End { CancelOnSummary, RunFails, NoProgressPage, UnattendedRefusal };
void PrintTo(End end, std::ostream* os) { *os << int(end); }

class ServerRestoreEnd : public WizardTest, public ::testing::WithParamInterface<End> {
 protected:
  // "up": each service running with its start type; "down": stopped and disabled.
  std::string ServicesState() {
    std::string state;
    for (const char* name : {dbserver::kGuardianService, dbserver::kServerService}) {
      const auto& e = services.services[name];
      state += e.running && e.config.startType != platform::kStartDisabled ? "up " : "down ";
    }
    return state;
  }
};

TEST_P(ServerRestoreEnd, PutsTheServerBack) {
  std::string script = AllPagesScript();
  if (GetParam() == End::NoProgressPage) script.replace(script.find("[Copy Files Page]\r\nVisible=1") + 26, 1, "0");
  WriteScript(script);
  PlantServer25();
  for (auto [name, start] : {std::pair{dbserver::kGuardianService, platform::kStartAutomatic},
                             std::pair{dbserver::kServerService, platform::kStartOnDemand}}) {
    services.services[name].config.startType = start;
    services.services[name].running = true;
  }
  files.MapDrive('N', tmp.File("C"), platform::DriveType::Remote);
  const bool unattended = GetParam() == End::UnattendedRefusal;
  if (GetParam() == End::RunFails) {
    bindings.installRun = [this](engine::RunContext& run) {
      run.errorJump("boom");
      EXPECT_EQ(ServicesState(), "down down ");  // the run's own end decides
      run.end = engine::RunEnd::Stopped;
    };
  }
  Create(unattended ? std::vector<std::string>{"/silent", "/dN"} : std::vector<std::string>{});
  if (GetParam() == End::NoProgressPage) NextUntil(Page::Finished);
  if (GetParam() == End::CancelOnSummary || GetParam() == End::RunFails) NextUntil(Page::Summary);
  if (!unattended) {
    EXPECT_EQ(ServicesState(), GetParam() == End::NoProgressPage ? "up up " : "down down ");
  }
  if (GetParam() == End::CancelOnSummary) {
    dialogs.answers = {ui::mrYes};
    Close();
  } else if (GetParam() == End::RunFails) {
    Next();
  }
  // At once where the wizard ends on a page; unattended, when its window goes.
  EXPECT_EQ(ServicesState(), unattended ? "down down " : "up up ");
  EXPECT_EQ(process.exitCode, unattended ? 1 : 0);
  wizard->FormDestroy();
  EXPECT_EQ(ServicesState(), "up up ");
  EXPECT_NE(LogText().find("Server service put back: FirebirdGuardianDefaultInstance: start type 2"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Wizard, ServerRestoreEnd,
                         ::testing::Values(End::CancelOnSummary, End::RunFails, End::NoProgressPage,
                                           End::UnattendedRefusal));

}  // namespace
}  // namespace ostravel::test

// The window's controls reach their handlers through the event table, the recording
// view knows exactly the controls of the table, and the run gets what the pages hold.
#include <gtest/gtest-spi.h>

#include "tests/unit/wizard/wizard_fixture.h"

namespace ostravel::test {
namespace {

using wizard::ControlEvent;
using wizard::Page;

TEST_F(WizardTest, ButtonsReachTheirHandlersByName) {
  WriteScript(AllPagesScript());
  Create();
  view.Click(ctl::kNextButton);
  EXPECT_EQ(Current(), Page::License);
  view.Click(ctl::kBackButton);
  EXPECT_EQ(Current(), Page::Welcome);
  // A disabled button cannot be pressed, and an event nobody handles changes nothing.
  EXPECT_NONFATAL_FAILURE(view.Click(ctl::kBackButton), "disabled");
  wizard->OnEvent(ctl::kSummaryMemo, ControlEvent::DoubleClick);
  EXPECT_EQ(Current(), Page::Welcome);
  view.Click(ctl::kCancelButton);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Do you want to exit?");
}

TEST_F(WizardTest, ControlsStartAsTheTableSaysAndUnknownNamesFail) {
  EXPECT_FALSE(view.Visible(ctl::kProgramYearLabel));
  EXPECT_FALSE(view.Visible(ctl::kGbDownloadStatistics));
  EXPECT_FALSE(view.Visible(ctl::kProgressPercentLabel));
  EXPECT_TRUE(view.Checked(ctl::kNeedLUMBRAIcon));
  EXPECT_FALSE(view.Checked(ctl::kNeedORVELIcon));
  EXPECT_EQ(view.Text(ctl::kQuestion1Label).substr(0, 6), "Kérem ");
  EXPECT_NONFATAL_FAILURE(view.SetText("NextButon", "x"), "no control named \"NextButon\"");
  EXPECT_NONFATAL_FAILURE(view.Enabled("clbComponent"), "no control named");
}

TEST_F(WizardTest, ControlsOffThePageShownCannotBeReached) {
  WriteScript(AllPagesScript());
  Create();
  EXPECT_NONFATAL_FAILURE(view.Click(ctl::kChangeButton), "not on the page shown");
  EXPECT_NONFATAL_FAILURE(view.Select(ctl::kCxProgramYear, 1), "hidden");
}

TEST_F(WizardTest, OwnerDrawnItemsShowTheirCaption) {
  WriteScript(AllPagesScript());
  Create();
  view.SetItems(ctl::kCxInstallKind, {"Full;everything", "Plain"});
  view.SetItems(ctl::kIconsList, {"Lumbra"});
  const wizard::ItemDrawing kind = wizard->DrawItem(ctl::kCxInstallKind, 0);
  EXPECT_EQ(kind.text, "Full");
  EXPECT_EQ(kind.dx, 1);
  EXPECT_EQ(kind.dy, 1);
  EXPECT_EQ(wizard->DrawItem(ctl::kCxInstallKind, 1).text, "Plain");
  const wizard::ItemDrawing group = wizard->DrawItem(ctl::kIconsList, 0);
  EXPECT_EQ(group.text, "Lumbra");
  EXPECT_EQ(group.dy, 2);
  EXPECT_EQ(wizard->DrawItem(ctl::kIconsList, 7).text, "");
}

TEST_F(WizardTest, TheRunGetsThePagesChoicesAndDrivesTheProgressPage) {
  WriteScript(AllPagesScript());
  engine::RunChoices seen;
  bindings.installRun = [&](engine::RunContext& run) {
    seen = run.choices;
    run.progress.SetRange(0, 40);
    run.progress.SetBaseOffset(10);
    run.progress.SetPosition(run.progress.BaseOffset() + 5);
    run.progress.SetStep("UpdateRegistry");
    run.progress.SetFileLabel("C:\\BELLORO.WIN\\a.exe");
    run.record.push_back({model::RecordAction::MakeDir, "C:\\BELLORO.WIN"});
    EXPECT_FALSE(run.errorReported());
    ASSERT_NE(run.downloadStatistics, nullptr);
    net::DownloadStatisticsSurface& box = *run.downloadStatistics;
    box.SetVisible(true);
    EXPECT_TRUE(view.Visible(ctl::kDownloadPackageSpeedKBLabel));
    box.SetPackagePath(box.PackagePathCaption() + "http://site/a.dat");
    box.SetPackagePath(box.PackagePathCaption() + "http://site/b.dat");  // the caption, not the last address
    system.tickCount = 500;
    box.StartTimer(1000, [&] { box.SetSpeed(std::to_string(box.TickCount())); });
    EXPECT_EQ(view.timerInterval, 1000);
    view.timerTick();
    box.StopTimer();
    EXPECT_FALSE(view.timerTick);
  };
  Create();
  NextUntil(Page::CreateIcon);
  view.Type(ctl::kEIcon, "Belloro");
  Next();
  view.Click(ctl::kNeedORVELIcon);
  NextUntil(Page::Summary);
  Next();  // the progress page runs and carries on by itself
  EXPECT_EQ(seen.destination, "C:\\BELLORO.WIN");
  EXPECT_EQ(seen.iconGroup, "Belloro");
  EXPECT_TRUE(seen.windowsVariant);
  EXPECT_TRUE(seen.needLumbraIcon);
  EXPECT_TRUE(seen.needOrvelIcon);
  EXPECT_FALSE(seen.webUpdateKind);
  EXPECT_EQ(view.ProgressMaximum(ctl::kProgressBar), 40);
  EXPECT_EQ(view.ProgressPosition(ctl::kProgressBar), 15);
  EXPECT_EQ(Text(ctl::kDebugLabel), "UpdateRegistry");
  EXPECT_EQ(Text(ctl::kLabel2), "C:\\BELLORO.WIN\\a.exe");
  EXPECT_EQ(wizard->Record().size(), 1u);
  EXPECT_EQ(Text(ctl::kDownloadPackagePathLabel), "http://site/b.dat");
  EXPECT_EQ(Text(ctl::kDownloadPackageSpeedKBLabel), "500");
}

}  // namespace
}  // namespace ostravel::test

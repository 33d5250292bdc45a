// The progress page reaches the window only when what it shows changes.
#include "installer/wizard/view_progress.h"

#include "installer/platform/fake/fake_system.h"
#include "tests/unit/wizard/recording_view.h"

namespace ostravel::test {
namespace {

struct CountingView : RecordingView {
  int texts = 0, moves = 0;
  std::vector<int> drawn;  // the bar at each drain
  void SetText(const std::string& n, const std::string& t) override { ++texts, RecordingView::SetText(n, t); }
  void SetProgressPosition(const std::string& n, int p) override { ++moves, RecordingView::SetProgressPosition(n, p); }
  void ProcessMessages() override { drawn.push_back(ProgressPosition(wizard::ctl::kProgressBar)); }
};

TEST(ViewProgress, ReachesTheWindowOnlyWhenTheShownStateChanges) {
  struct Case {
    const char* name;
    int range, steps, msPerStep;
    bool boundaryEachStep;  // a step name each time (the same one)
    int texts, moves;
    std::vector<int> drawn;
  };
  const Case cases[] = {
      {"10,000 quick steps: the bar moves and the queue drains at the start and the end only",
       10000,
       10000,
       0,
       false,
       0,
       1 + 1,
       {0, 10000}},
      {"slow steps: a drain every 40 ms moves the bar to where the run is, by a thousandth at least",
       1000,
       100,
       1,
       false,
       0,
       1 + 2,
       {0, 40, 80}},
      {"a step boundary each time drains each time; the same name is set once",
       100,
       3,
       0,
       true,
       1,
       1 + 3,
       {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CountingView view;
    platform::FakeSystem clock;
    wizard::ViewProgress p(view, clock);
    p.SetRange(0, c.range);
    p.SetPosition(0);
    p.ProcessMessages();
    for (int i = 0; i < c.steps; ++i) {
      if (c.boundaryEachStep) p.SetStep("UpdateFilesAsNeccessary");
      p.SetPosition(p.Position() + 1);
      p.SetFileLabel("");  // as shown already after the first
      clock.tickCount += uint32_t(c.msPerStep);
      p.ProcessMessages();
    }
    EXPECT_EQ(view.texts, c.texts + 1);
    EXPECT_EQ(view.moves, c.moves);
    EXPECT_EQ(view.drawn, c.drawn);
    EXPECT_EQ(p.Position(), c.steps);
  }
}

}  // namespace
}  // namespace ostravel::test

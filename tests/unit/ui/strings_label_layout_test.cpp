#include "installer/ui/strings_label_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostravel::ui {
namespace {

// Normal characters 6 wide, bold 7; lines 13 high; records what is drawn.
class FakeSurface : public LabelSurface {
 public:
  struct Drawn {
    int x, y;
    std::string text;
    LabelFont font;
  };
  std::vector<Drawn> drawn;
  int TextWidth(const std::string& text, const LabelFont& font) override {
    return int(text.size()) * (font.bold ? 7 : 6);
  }
  int TextHeight(const std::string&, const LabelFont&) override { return 13; }
  void DrawText(int x, int y, const std::string& text, const LabelFont& font) override {
    drawn.push_back({x, y, text, font});
  }
};

constexpr LabelRect kRect{2, 2, 200, 198};

TEST(StringsLabelLayout, StyleTagsApplyToTheNextWordsAndBlanksStayWithTheirWord) {
  FakeSurface s;
  RenderTaggedText(kRect, s, "<B>Bold </b>plain<i>x", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 3u);
  EXPECT_EQ(s.drawn[0].text, "Bold ");
  EXPECT_TRUE(s.drawn[0].font.bold);
  EXPECT_EQ(s.drawn[1].text, "plain");
  EXPECT_FALSE(s.drawn[1].font.bold);
  EXPECT_EQ(s.drawn[1].x, 2 + 5 * 7);
  EXPECT_TRUE(s.drawn[2].font.italic);
}

TEST(StringsLabelLayout, WrapsWholeWordsAndNeverSplitsALongOne) {
  FakeSurface s;
  const std::string longWord(40, 'w');  // 240 wide, wider than the rectangle
  const int y = RenderTaggedText(kRect, s, "aaaa bbbb " + longWord + " c", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 4u);
  EXPECT_EQ(s.drawn[2].text, longWord + " ");
  EXPECT_EQ(s.drawn[2].x, 2);
  EXPECT_EQ(s.drawn[2].y, 2 + 13);
  // "c" follows on the next line: the long word ran past the edge.
  EXPECT_EQ(s.drawn[3].x, 2);
  EXPECT_EQ(s.drawn[3].y, 2 + 26);
  EXPECT_EQ(y, 2 + 39);
}

TEST(StringsLabelLayout, LinesBelowTheBottomAreCountedButNotDrawn) {
  FakeSurface s;
  const int y = RenderTaggedText({2, 2, 200, 28}, s, "one\ntwo\nthree", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 1u);  // the second line would end on the bottom edge
  EXPECT_EQ(y, 2 + 3 * 13);
  s.drawn.clear();
  EXPECT_EQ(RenderTaggedText(kRect, s, "one\ntwo", 2, false, {}), 2 + 26);
  EXPECT_TRUE(s.drawn.empty());
}

TEST(StringsLabelLayout, EmptyTextCountsOneLine) {
  FakeSurface s;
  EXPECT_EQ(RenderTaggedText(kRect, s, "", 2, true, {}), 2 + 13);
  EXPECT_TRUE(s.drawn.empty());
}

TEST(StringsLabelLayout, BulletsCheckBoxesBreaksAndTabs) {
  FakeSurface s;
  RenderTaggedText(kRect, s, "<li>first<li>second<br><checked><unchecked><CHECKED>x<tab>y", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 9u);
  EXPECT_EQ(s.drawn[0].text, "\xB7 ");
  EXPECT_EQ(s.drawn[0].font.face, LabelFace::Symbol);
  EXPECT_EQ(s.drawn[0].y, 2);
  EXPECT_EQ(s.drawn[1].font.face, LabelFace::Normal);
  EXPECT_EQ(s.drawn[2].text, "\xB7 ");  // second bullet on a new line
  EXPECT_EQ(s.drawn[2].x, 2);
  EXPECT_EQ(s.drawn[2].y, 15);
  EXPECT_EQ(s.drawn[4].text, "\xFE");
  EXPECT_EQ(s.drawn[4].font.face, LabelFace::WingDings);
  EXPECT_EQ(s.drawn[4].y, 28);
  EXPECT_EQ(s.drawn[5].text, "o");
  EXPECT_EQ(s.drawn[6].text, "\xFE");  // tags compare in lower case
  // Three glyphs and "x" end at 26; the tab moves on to the next stop.
  EXPECT_EQ(s.drawn[8].text, "y");
  EXPECT_EQ(s.drawn[8].x, 2 + 3 * 6 + 6 + 2);
}

TEST(StringsLabelLayout, ColoursAndTheirOneLevelRestore) {
  FakeSurface s;
  RenderTaggedText(kRect, s, "<c#00FF00>a<cred>b</c>c<cnosuch>d<c#zz>e<c#1234567>f", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 6u);
  EXPECT_EQ(s.drawn[0].font.color, 0x00FF00u);    // green
  EXPECT_EQ(s.drawn[1].font.color, 0x0000FFu);    // red
  EXPECT_EQ(s.drawn[2].font.color, 0x00FF00u);    // back to green
  EXPECT_EQ(s.drawn[3].font.color, 0u);           // unknown name: black
  EXPECT_EQ(s.drawn[4].font.color, 0u);           // malformed: ignored
  EXPECT_EQ(s.drawn[5].font.color, 0u);
  EXPECT_EQ(*ParseLabelColour("#FF0000"), 0xFF0000u);  // blue
  EXPECT_EQ(*ParseLabelColour("Navy"), 0x800000u);
  EXPECT_FALSE(ParseLabelColour("#").has_value());
}

TEST(StringsLabelLayout, UnclosedTagAndStrayCharactersDoNotBreakLayout) {
  FakeSurface s;
  const int y = RenderTaggedText(kRect, s, "text <b unclosed", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 1u);
  EXPECT_EQ(y, 2 + 13);
  EXPECT_EQ(TaggedTextPlain("a<b>b</b><br>c<tab>d<li>e<oops"), "ab\r\nc\td\r\n- e");
}

TEST(StringsLabelLayout, ItalicWordsLeaveRoomForTheirOverhang) {
  FakeSurface s;
  RenderTaggedText(kRect, s, "<i>ab </i>c", 2, true, {});
  ASSERT_EQ(s.drawn.size(), 2u);
  EXPECT_EQ(s.drawn[1].x, 2 + 3 * 6 + 6);
}

}  // namespace
}  // namespace ostravel::ui

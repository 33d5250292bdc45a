#include "installer/ui/message_dialog_layout.h"

#include <gtest/gtest.h>

#include "installer/ui/message_languages.h"

namespace ostravel::ui {
namespace {

// Every character 7 pixels wide, lines 16 high; wraps at whole characters.
class FixedMeasurer : public DialogMeasurer {
 public:
  Extent TextExtent(const std::u16string& text) override { return {int(text.size()) * 7, 16}; }
  Extent WrappedTextExtent(const std::u16string& text, int maxWidth) override {
    const int perLine = maxWidth / 7;
    const int chars = int(text.size());
    if (chars <= perLine) return {chars * 7, 16};
    return {perLine * 7, ((chars + perLine - 1) / perLine) * 16};
  }
};

TEST(MessageDialogLayout, HungarianConfirmationWithYesAndNo) {
  FixedMeasurer m;
  const auto layout = LayoutMessageDialog(m, u"Kilép?", MsgDlgType::Confirmation, mbYes | mbNo, 11, 1024, u"App");
  EXPECT_EQ(layout.caption, u"Jóváhagyás");
  ASSERT_EQ(layout.buttons.size(), 2u);
  EXPECT_EQ(layout.buttons[0].caption, u"&Igen");
  EXPECT_STREQ(layout.buttons[0].name, "Yes");
  EXPECT_EQ(layout.buttons[0].modalResult, mrYes);
  EXPECT_TRUE(layout.buttons[0].isDefault);
  EXPECT_EQ(layout.buttons[1].caption, u"&Nem");
  EXPECT_EQ(layout.buttons[1].modalResult, mrNo);
  EXPECT_TRUE(layout.buttons[1].isCancel);
  EXPECT_EQ(layout.cancelResult, mrNo);
  EXPECT_EQ(layout.defaultResult, mrYes);
}

TEST(MessageDialogLayout, SizesFollowTheAverageCharacter) {
  // avg 7 x 16: margins 14 / 16, spacing 18 / 20, buttons 88 x 28, gap 7.
  FixedMeasurer m;
  const auto layout = LayoutMessageDialog(m, u"Hello", MsgDlgType::Warning, mbOK, 1, 1024, u"App");
  EXPECT_EQ(layout.text.height, 16);
  EXPECT_EQ(layout.icon.left, 14);
  EXPECT_EQ(layout.icon.top, 16);
  // One line of text beside the icon: the block is the icon's 32 high.
  EXPECT_EQ(layout.clientHeight, 32 + 28 + 20 + 2 * 16);
  EXPECT_EQ(layout.text.left, 32 + 18 + 14);
  // The button is wider than icon and text together.
  EXPECT_EQ(layout.clientWidth, 88 + 2 * 14);
  ASSERT_EQ(layout.buttons.size(), 1u);
  EXPECT_EQ(layout.buttons[0].box.left, 14);
  EXPECT_EQ(layout.buttons[0].box.top, 32 + 16 + 20);
  EXPECT_EQ(layout.buttons[0].box.width, 88);
  EXPECT_EQ(layout.buttons[0].box.height, 28);
  // Escape on an OK-only dialog presses OK.
  EXPECT_EQ(layout.cancelResult, mrOk);
}

TEST(MessageDialogLayout, LongTextWrapsAtHalfTheScreen) {
  FixedMeasurer m;
  const std::u16string text(300, u'x');
  const auto layout = LayoutMessageDialog(m, text, MsgDlgType::Custom, mbOK, 0, 800, u"Ostravel");
  EXPECT_EQ(layout.caption, u"Ostravel");
  EXPECT_FALSE(layout.hasIcon);
  EXPECT_LE(layout.text.width, 400);
  EXPECT_EQ(layout.clientWidth, layout.text.width + 2 * 14);
  EXPECT_GT(layout.text.height, 16 * 4);
}

TEST(MessageDialogLayout, ButtonsAreCentredInTheirFixedOrder) {
  FixedMeasurer m;
  const auto layout = LayoutMessageDialog(m, u"x", MsgDlgType::Error, mbHelp | mbRetry | mbAbort | mbIgnore, 5, 1024, u"");
  ASSERT_EQ(layout.buttons.size(), 4u);
  const char* names[] = {"Abort", "Retry", "Ignore", "Help"};
  for (int i = 0; i < 4; ++i) EXPECT_STREQ(layout.buttons[size_t(i)].name, names[i]);
  EXPECT_EQ(layout.buttons[0].caption, u"Abbrechen");
  EXPECT_TRUE(layout.buttons[1].isDefault);  // no OK, no Yes: Retry
  const int group = 4 * 88 + 3 * 7;
  EXPECT_EQ(layout.clientWidth, group + 28);
  EXPECT_EQ(layout.buttons[0].box.left, 14);
  EXPECT_EQ(layout.buttons[3].box.left + 88, layout.clientWidth - 14);
  EXPECT_EQ(layout.buttons[3].modalResult, mrNone);
}

TEST(MessageLanguages, FallbacksAndFixedOddities) {
  for (int language : {0, 1, 12, 255, -3}) {
    SCOPED_TRACE(language);
    EXPECT_EQ(std::u16string(MessageLanguageFor(language).captions[1]), u"Error");
    EXPECT_EQ(std::u16string(MessageLanguageFor(language).buttons[8]), u"No to all");
  }
  // Outside the macros: their stringised arguments are narrow CP1250 text.
  const std::u16string greekWarning = u"Προσοχή!", russianCancel = u"Отмена";
  EXPECT_EQ(std::u16string(MessageLanguageFor(8).captions[0]), greekWarning);
  EXPECT_EQ(std::u16string(MessageLanguageFor(6).buttons[10]), u"?");
  EXPECT_EQ(std::u16string(MessageLanguageFor(4).buttons[2]), u"TAMAM");
  EXPECT_EQ(std::u16string(MessageLanguageFor(10).buttons[2]), u"Vredu");
  EXPECT_EQ(std::u16string(MessageLanguageFor(2).buttons[3]), russianCancel);
}

}  // namespace
}  // namespace ostravel::ui

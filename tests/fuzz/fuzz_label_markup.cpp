// Any bytes as tagged label text, on any label size and font metrics: layout and
// drawing never crash, agree on the height, and draw only inside the label.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/ui/strings_label_layout.h"

namespace {

using namespace ostravel::ui;

class Surface : public LabelSurface {
 public:
  Surface(const LabelRect& rect, int charWidth, int lineHeight)
      : rect_(rect), charWidth_(charWidth), lineHeight_(lineHeight) {}
  int TextWidth(const std::string& text, const LabelFont& font) override {
    return int(text.size()) * (charWidth_ + (font.bold ? 1 : 0));
  }
  int TextHeight(const std::string&, const LabelFont&) override { return lineHeight_; }
  void DrawText(int x, int y, const std::string& text, const LabelFont&) override {
    if (text.empty() || x < rect_.left || y < rect_.top || y + lineHeight_ >= rect_.bottom) std::abort();
  }

 private:
  LabelRect rect_;
  int charWidth_, lineHeight_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const LabelRect rect{3, 5, 3 + (data[0] + 1) * 4, 5 + (data[0] + 1) * 2};
  const int charWidth = data[1] % 16 + 1;
  const int lineHeight = data[2] % 32 + 1;
  const int tabWidth = int(int8_t(data[3]));  // zero and negative widths included
  const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);

  Surface surface(rect, charWidth, lineHeight);
  const int measured = RenderTaggedText(rect, surface, text, tabWidth, false, {});
  const int drawn = RenderTaggedText(rect, surface, text, tabWidth, true, {});
  if (measured != drawn || measured < rect.top) std::abort();
  TaggedTextPlain(text);
  ParseLabelColour(text);
  return 0;
}

#pragma once
// The tagged-text label's markup and word layout, independent of any screen: a
// surface measures and draws words, this code decides where they go.
//
// Tags: b i u s (and /b ...), tab, li, checked / unchecked, br, c<colour>, /c.
#include <cstdint>
#include <optional>
#include <string>

namespace ostravel::ui {

enum class LabelFace { Normal, Symbol, WingDings };

struct LabelFont {
  LabelFace face = LabelFace::Normal;
  bool bold = false, italic = false, underline = false, strikeOut = false;
  uint32_t color = 0;  // 0x00BBGGRR
};

// Words are CP1250 text, or symbol-font codes for the Symbol and WingDings faces.
class LabelSurface {
 public:
  virtual ~LabelSurface() = default;
  virtual int TextWidth(const std::string& text, const LabelFont& font) = 0;
  virtual int TextHeight(const std::string& text, const LabelFont& font) = 0;
  virtual void DrawText(int x, int y, const std::string& text, const LabelFont& font) = 0;
};

struct LabelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Lays out (and with `draw`, draws) the text; returns the final pen y.
int RenderTaggedText(const LabelRect& rect, LabelSurface& surface, const std::string& text, int tabWidth, bool draw,
                     LabelFont font);

// "#" + up to six hex digits (blue, green, red) or a colour name; nullopt for a
// malformed "#" colour. Unknown names are black.
std::optional<uint32_t> ParseLabelColour(const std::string& colour);

// The text without its tags: what a screen reader should hear.
std::string TaggedTextPlain(const std::string& text);

}  // namespace ostravel::ui

#include "installer/ui/strings_label_layout.h"

#include <cstring>

#include "base/cp1250.h"

namespace ostravel::ui {

namespace {

constexpr uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

// Reads the tag after "<"; `i` ends on its ">" or at the end of the text.
std::string ReadTag(const std::string& text, size_t& i) {
  std::string tag;
  while (++i < text.size() && text[i] != '>') tag += text[i];
  return LowerCase(tag);
}

class Renderer {
 public:
  Renderer(const LabelRect& rect, LabelSurface& surface, int tabWidth, bool draw, const LabelFont& font)
      : rect_(rect), surface_(surface), tabWidth_(tabWidth > 0 ? tabWidth : 1), draw_(draw), font_(font),
        remembered_(font.color), x_(rect.left), y_(rect.top), lineHeight_(surface.TextHeight("Ag", font)) {}

  int Run(const std::string& text) {
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || text[i] == '\r') {
        Flush();
      } else if (text[i] == '\n') {
        Flush();
        NewLine();
      } else if (std::strchr(" !,.:;", text[i])) {
        word_ += text[i];
        Flush();
      } else if (text[i] == '<') {
        Flush();
        Apply(ReadTag(text, i));
      } else {
        word_ += text[i];
      }
    }
    if (x_ > 0) y_ += lineHeight_;
    return y_;
  }

 private:
  void NewLine() {
    x_ = rect_.left;
    y_ += lineHeight_;
  }

  void Apply(const std::string& tag) {
    if (tag == "b") font_.bold = true;
    else if (tag == "i") font_.italic = true;
    else if (tag == "u") font_.underline = true;
    else if (tag == "s") font_.strikeOut = true;
    else if (tag == "/b") font_.bold = false;
    else if (tag == "/i") font_.italic = false;
    else if (tag == "/u") font_.underline = false;
    else if (tag == "/s") font_.strikeOut = false;
    else if (tag == "tab") x_ = rect_.left + ((x_ - rect_.left) / tabWidth_ + 1) * tabWidth_;
    else if (tag == "li") {
      if (x_ != rect_.left) NewLine();
      Symbol(LabelFace::Symbol, "\xB7 ");
    } else if (tag.find("checked") != std::string::npos) {
      Symbol(LabelFace::WingDings, tag == "checked" ? "\xFE" : "o");
    } else if (tag == "br") {
      NewLine();
    } else if (!tag.empty() && tag[0] == 'c') {
      if (auto colour = ParseLabelColour(tag.substr(1))) {
        remembered_ = font_.color;
        font_.color = *colour;
      }
    } else if (tag == "/c") {
      font_.color = remembered_;
    }
  }

  void Symbol(LabelFace face, const char* glyph) {
    const LabelFace saved = font_.face;
    font_.face = face;
    word_ = glyph;
    Flush();
    font_.face = saved;
  }

  void Flush() {
    if (word_.empty()) return;
    size_t end = word_.find_last_not_of(' ');
    const std::string trimmed = end == std::string::npos ? "" : word_.substr(0, end + 1);
    if (x_ + surface_.TextWidth(trimmed, font_) > rect_.right) {
      NewLine();
      word_.erase(0, word_.find_first_not_of(' ') == std::string::npos ? word_.size() : word_.find_first_not_of(' '));
    }
    const int width = word_.empty() ? 0 : surface_.TextWidth(word_, font_);
    if (draw_ && !word_.empty() && y_ + lineHeight_ < rect_.bottom) surface_.DrawText(x_, y_, word_, font_);
    x_ += width;
    if (font_.italic && !word_.empty()) x_ += surface_.TextWidth(word_.substr(word_.size() - 1), font_);
    word_.clear();
  }

  const LabelRect rect_;
  LabelSurface& surface_;
  const int tabWidth_;
  const bool draw_;
  LabelFont font_;
  uint32_t remembered_;
  int x_, y_;
  const int lineHeight_;
  std::string word_;
};

}  // namespace

int RenderTaggedText(const LabelRect& rect, LabelSurface& surface, const std::string& text, int tabWidth, bool draw,
                     LabelFont font) {
  return Renderer(rect, surface, tabWidth, draw, font).Run(text);
}

std::optional<uint32_t> ParseLabelColour(const std::string& colour) {
  if (!colour.empty() && colour[0] == '#') {
    const std::string digits = colour.substr(1);
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
      int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (d < 0) return std::nullopt;
      value = value << 4 | uint32_t(d);
    }
    return value;
  }
  static const struct {
    const char* name;
    uint32_t color;
  } kNames[] = {{"aqua", Rgb(0, 255, 255)},    {"black", Rgb(0, 0, 0)},         {"blue", Rgb(0, 0, 255)},
                {"fuchsia", Rgb(255, 0, 255)}, {"gray", Rgb(128, 128, 128)},    {"green", Rgb(0, 128, 0)},
                {"lime", Rgb(0, 255, 0)},      {"maroon", Rgb(128, 0, 0)},      {"navy", Rgb(0, 0, 128)},
                {"olive", Rgb(128, 128, 0)},   {"purple", Rgb(128, 0, 128)},    {"red", Rgb(255, 0, 0)},
                {"silver", Rgb(192, 192, 192)}, {"teal", Rgb(0, 128, 128)},     {"white", Rgb(255, 255, 255)},
                {"yellow", Rgb(255, 255, 0)}};
  const std::string lower = LowerCase(colour);
  for (const auto& entry : kNames)
    if (lower == entry.name) return entry.color;
  return Rgb(0, 0, 0);
}

std::string TaggedTextPlain(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '<') {
      plain += text[i];
      continue;
    }
    const std::string tag = ReadTag(text, i);
    if (tag == "br") plain += "\r\n";
    else if (tag == "li") plain += "\r\n- ";
    else if (tag == "tab") plain += '\t';
  }
  return plain;
}

}  // namespace ostravel::ui

#pragma once
// The gradient fill of the background window, computed without a screen: which
// colour each one-pixel line gets.
#include <cstdint>
#include <functional>
#include <vector>

namespace ostravel::ui {

// 0x00BBGGRR, as the system paints it.
using Rgb = uint32_t;

// A script colour value: an RGB value, or (high byte 0xFF) a system colour index.
Rgb ResolveColour(int32_t value, const std::function<Rgb(int index)>& systemColour);

struct GradientLine {
  int position;  // 0 = the rectangle's first line
  Rgb colour;
};

// Lines across an extent of `extent` pixels through the colours in order (at least
// two, else InstallerError "Please specify at least two colors."). A segment's lines
// blend from its colour to the next; bands are extent / (n - 1), halves to even, and
// the last segment ends on the last line.
std::vector<GradientLine> GradientLines(int extent, const std::vector<Rgb>& colours);

}  // namespace ostravel::ui

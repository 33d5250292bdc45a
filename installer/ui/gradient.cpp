#include "installer/ui/gradient.h"

#include <cmath>

#include "base/installer_error.h"

namespace ostravel::ui {

namespace {
int Channel(Rgb colour, int shift) { return int((colour >> shift) & 0xFF); }
}  // namespace

Rgb ResolveColour(int32_t value, const std::function<Rgb(int index)>& systemColour) {
  const uint32_t raw = uint32_t(value);
  if ((raw & 0xFF000000u) == 0xFF000000u) return systemColour(int(raw & 0xFF)) & 0xFFFFFFu;
  return raw & 0xFFFFFFu;
}

std::vector<GradientLine> GradientLines(int extent, const std::vector<Rgb>& colours) {
  if (colours.size() < 2) throw InstallerError("Please specify at least two colors.");
  std::vector<GradientLine> lines;
  if (extent <= 0) return lines;
  const int segments = int(colours.size()) - 1;
  const int band = int(std::nearbyint(double(extent) / segments));  // the default rounding: halves to even
  for (int j = 0; j < segments; ++j) {
    const int e = j == segments - 1 ? extent - j * band - 1 : band;
    for (int i = 0; i <= e; ++i) {
      // A one-line segment would divide by zero: it takes its start colour.
      const double t = e > 0 ? double(i) / e : 0.0;
      Rgb rgb = 0;
      for (int shift : {0, 8, 16}) {
        const int start = Channel(colours[size_t(j)], shift), end = Channel(colours[size_t(j) + 1], shift);
        rgb |= Rgb(int(std::trunc(start + (end - start) * t))) << shift;
      }
      lines.push_back({j * band + i, rgb});
    }
  }
  return lines;
}

}  // namespace ostravel::ui

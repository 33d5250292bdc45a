#include "installer/win32/gdi_handles.h"

namespace ostravel::win32 {

UniqueFont CreateMessageFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    font.lfHeight = -12;
    wcscpy(font.lfFaceName, L"Tahoma");
  }
  if (bold) font.lfWeight = FW_BOLD;
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace ostravel::win32

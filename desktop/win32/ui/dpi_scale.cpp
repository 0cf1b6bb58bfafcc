#include "desktop/win32/ui/dpi_scale.h"

namespace lorix {

DpiScale DpiScale::OfSystem() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return DpiScale(dpi > 0 ? dpi : 96);
}

HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace lorix

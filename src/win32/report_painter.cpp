#include "win32/report_painter.h"

#include <algorithm>

#include "win32/dpi.h"

namespace {

// Nothing this long fits on any screen; the cap keeps a runaway caption cheap to draw.
constexpr std::size_t kMaxDrawnCharacters = 4096;

// The system's message font, which it gives at the system density.
LOGFONTW StandardFont(unsigned dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return font;
}

void DrawLines(HDC dc, const RECT& area, const ReportFonts& fonts,
               const std::vector<ReportLine>& lines) {
  ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  const SelectedObject restoreFont(dc, fonts.Normal());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  int top = area.top;
  for (const ReportLine& line : lines) {
    ::SelectObject(dc, line.bold ? fonts.Bold() : fonts.Normal());
    const std::size_t drawn = std::min(line.text.size(), kMaxDrawnCharacters);
    ::TextOutW(dc, area.left, top, line.text.c_str(), static_cast<int>(drawn));
    top += lineHeight;
  }
}

}  // namespace

ReportFonts::ReportFonts(unsigned dpi) {
  LOGFONTW font = StandardFont(dpi);
  font.lfWeight = FW_NORMAL;
  mNormal.reset(::CreateFontIndirectW(&font));
  font.lfWeight = FW_BOLD;
  mBold.reset(::CreateFontIndirectW(&font));
}

void PaintReport(HDC target, const RECT& area, const ReportFonts& fonts,
                 const std::vector<ReportLine>& lines) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const UniqueMemoryDc buffer(::CreateCompatibleDC(target));
  const UniqueBitmap pixels(::CreateCompatibleBitmap(target, width, height));
  if (!buffer || !pixels) {
    DrawLines(target, area, fonts, lines);  // flickers, but still shows the report
    return;
  }
  const SelectedObject restoreBitmap(buffer.get(), pixels.get());
  DrawLines(buffer.get(), RECT{0, 0, width, height}, fonts, lines);
  ::BitBlt(target, area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}

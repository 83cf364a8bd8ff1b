#include "win32/report_painter.h"

#include <algorithm>
#include <iterator>

namespace {

// Nothing this long fits on any screen; the cap keeps a runaway caption cheap to draw.
constexpr std::size_t kMaxDrawnCharacters = 4096;

// The dialog font's name on every Windows from 2000 to 11, where it stands for Tahoma.
constexpr wchar_t kDialogFace[] = L"MS Shell Dlg 2";
static_assert(std::size(kDialogFace) <= LF_FACESIZE);
constexpr int kDialogPoints = 8;
constexpr int kPointsPerInch = 72;

LOGFONTW DialogFont(unsigned dpi) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(kDialogPoints, static_cast<int>(dpi), kPointsPerInch);
  // Any script: a track in another one still finds its glyphs through the font's links.
  font.lfCharSet = DEFAULT_CHARSET;
  std::copy(std::begin(kDialogFace), std::end(kDialogFace), font.lfFaceName);
  return font;
}

}  // namespace

void DrawReport(HDC dc, const RECT& area, const ReportFonts& fonts,
                const std::vector<ReportLine>& lines) {
  ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  const SelectedObject restoreFont(dc, fonts.Normal());
  const int lineHeight = ReportLineHeight(dc, fonts);
  int top = area.top;
  for (const ReportLine& line : lines) {
    ::SelectObject(dc, line.bold ? fonts.Bold() : fonts.Normal());
    const std::size_t drawn = std::min(line.text.size(), kMaxDrawnCharacters);
    ::TextOutW(dc, area.left, top, line.text.c_str(), static_cast<int>(drawn));
    top += lineHeight;
  }
}

int ReportLineHeight(HDC dc, const ReportFonts& fonts) {
  const SelectedObject font(dc, fonts.Normal());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

ReportFonts::ReportFonts(unsigned dpi) {
  LOGFONTW font = DialogFont(dpi);
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
    DrawReport(target, area, fonts, lines);  // flickers, but still shows the report
    return;
  }
  const SelectedObject restoreBitmap(buffer.get(), pixels.get());
  DrawReport(buffer.get(), RECT{0, 0, width, height}, fonts, lines);
  ::BitBlt(target, area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}

#pragma once

#include <windows.h>

#include <vector>

#include "ui/debug_report.h"
#include "win32/gdi.h"

// The report's font, plain and bold, at one display density: the 8-point dialog font. The
// window's size is fixed by its design and grows only with the density, so the font must too:
// the system's message font (Segoe UI 9 pt from Windows Vista on) needs 16-pixel lines at
// 96 dpi, 400 pixels for the 25 lines where the window's client area has about 349, while the
// dialog font's 13-pixel lines take 325.
class ReportFonts {
 public:
  ReportFonts() = default;
  explicit ReportFonts(unsigned dpi);

  HFONT Normal() const { return mNormal.get(); }
  HFONT Bold() const { return mBold.get(); }

 private:
  UniqueFont mNormal;
  UniqueFont mBold;
};

// The step from one line down to the next: the plain font's height with its leading.
int ReportLineHeight(HDC dc, const ReportFonts& fonts);

// Draws the lines one under the other from the area's top-left corner, straight into the
// device context: for one that keeps what is drawn, such as a metafile's or a printer's.
// Nothing wraps: what runs past an edge is cut off.
void DrawReport(HDC dc, const RECT& area, const ReportFonts& fonts,
                const std::vector<ReportLine>& lines);

// The same on the screen, first into a bitmap so that a report replaced every second never
// flickers.
void PaintReport(HDC target, const RECT& area, const ReportFonts& fonts,
                 const std::vector<ReportLine>& lines);

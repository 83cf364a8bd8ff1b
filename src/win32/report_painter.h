#pragma once

#include <windows.h>

#include <vector>

#include "ui/debug_report.h"
#include "win32/gdi.h"

// The window's standard font, plain and bold, at one display density.
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

// Draws the lines one under the other from the area's top-left corner, first into a bitmap so
// that a report replaced every second never flickers. Nothing wraps: what runs past an edge is
// cut off.
void PaintReport(HDC target, const RECT& area, const ReportFonts& fonts,
                 const std::vector<ReportLine>& lines);

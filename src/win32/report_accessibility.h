#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <vector>

#include "ui/debug_report.h"

class ReportAccessible;

// What screen readers get of the report: the window's client area answers as an accessible
// object with one child per line, in the order drawn, the headings set apart by their role. It
// holds the lines last drawn and tells listeners of every line that changed.
class ReportAccessibility {
 public:
  ReportAccessibility();
  ~ReportAccessibility();
  ReportAccessibility(const ReportAccessibility&) = delete;
  ReportAccessibility& operator=(const ReportAccessibility&) = delete;

  // Answers WM_GETOBJECT: the report for the client area, Windows' own objects for the rest.
  LRESULT OnGetObject(HWND window, WPARAM flags, LPARAM objectId);
  // Takes the lines just drawn, none once the window is cleared, and how far apart they are.
  void Show(HWND window, std::vector<ReportLine> lines, int lineHeight);

 private:
  std::vector<ReportLine> mLines;
  int mLineHeight = 0;
  // Made when a client first asks for it.
  Microsoft::WRL::ComPtr<ReportAccessible> mObject;
};

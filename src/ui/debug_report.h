#pragma once

#include <string>
#include <vector>

#include "app/outside.h"

// One printed line of the debug report.
struct ReportLine {
  std::wstring text;
  bool bold = false;

  bool operator==(const ReportLine&) const = default;
};

// The debug report's 25 lines, top to bottom. Each value is asked for in the order its line is
// printed, and only once for the lines that share it.
std::vector<ReportLine> BuildDebugInformation(Outside& outside);

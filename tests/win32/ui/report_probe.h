#pragma once

// Asks the probe for the report as the window draws it for WM_PRINTCLIENT, recorded in an
// enhanced metafile; the answer is the metafile's bytes.
constexpr wchar_t kRecordReport[] = L"Tunemood.Test.RecordReport";
// Tells the probe to move the window to another display density as Windows does, with
// WM_DPICHANGED: wParam the new density, lParam the suggested outer width and height
// (MAKELPARAM) at the window's place.
constexpr wchar_t kChangeDpi[] = L"Tunemood.Test.ChangeDpi";
// The WH_GETMESSAGE hook procedure the probe DLL exports.
constexpr char kReportProbeHook[] = "ReportProbeHook";

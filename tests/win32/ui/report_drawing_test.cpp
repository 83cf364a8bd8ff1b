// The report as the real program draws it, read back from GDI without reading pixels: a probe
// DLL in the program's process records what the window draws for WM_PRINTCLIENT in an enhanced
// metafile. With Wine's metrics and with Windows 10 and 11's, at four display densities, and
// after a change of density: the 25 lines in order, only the two headings bold, a legible font,
// and the last line wholly inside the client area.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/live_outside.h"
#include "built_paths.h"
#include "child_process.h"
#include "display_settings.h"
#include "probe_channel.h"
#include "recorded_drawing.h"
#include "report_probe.h"
#include "standins.h"
#include "ui/debug_report.h"
#include "waiting.h"
#include "win32/com_automation.h"
#include "win32/desktop.h"
#include "win32/gdi.h"
#include "win32/handles.h"
#include "win32/registry.h"
#include "window_search.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TunemoodMain";
// The legible least, the dialog font's size.
constexpr int kLeastPoints = 8;
constexpr int kPointsPerInch = 72;

// The report as this process sees the same desktop and registry: what the program is to draw.
// Its texts and headings are the unit tests' matter; here it is how they are drawn.
std::vector<ReportLine> ExpectedReport() {
  Win32Desktop desktop;
  Win32Registry registry;
  ComAutomation automation;
  LiveOutside outside(desktop, registry, automation);
  return BuildDebugInformation(outside);
}

TEXTMETRICW Measure(const LOGFONTW& font) {
  const WindowDc screen(nullptr);
  const UniqueFont created(::CreateFontIndirectW(&font));
  const SelectedObject selected(screen.get(), created.get());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.get(), &metrics);
  return metrics;
}

RECT Outer(HWND window) {
  RECT outer{};
  ::GetWindowRect(window, &outer);
  return outer;
}

RECT Client(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return client;
}

int FrameHeight(HWND window) {
  const RECT outer = Outer(window);
  return (outer.bottom - outer.top) - Client(window).bottom;
}

// Designed with a client area of 4680 x 3195 twips, then enlarged by half and centred.
void ExpectEnlargedByHalfAndCentred(HWND window, unsigned dpi) {
  const RECT outer = Outer(window);
  const RECT client = Client(window);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const double designWidth = 4680.0 * dpi / 1440 + (width - client.right);
  const double designHeight = 3195.0 * dpi / 1440 + (height - client.bottom);
  EXPECT_NEAR(width, 1.5 * designWidth, 1.0);
  EXPECT_NEAR(height, 1.5 * designHeight, 1.0);
  EXPECT_NEAR(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2.0, 1.0);
  EXPECT_NEAR(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2.0, 1.0);
}

// The lines in order, flush left one under the other, the headings alone bold, in a font of at
// least 8 points at the density, and the last one wholly inside the client area.
void ExpectWholeReport(const std::vector<DrawnText>& drawn, const RECT& client, unsigned dpi) {
  const std::vector<ReportLine> expected = ExpectedReport();
  ASSERT_EQ(expected.size(), 25u);
  ASSERT_EQ(drawn.size(), expected.size());
  const int leastHeight = ::MulDiv(kLeastPoints, static_cast<int>(dpi), kPointsPerInch);
  int bottom = client.top;
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "line " << i + 1);
    const DrawnText& line = drawn[i];
    EXPECT_EQ(line.text, expected[i].text);
    EXPECT_EQ(line.font.lfWeight >= FW_BOLD, expected[i].bold);
    const TEXTMETRICW metrics = Measure(line.font);
    EXPECT_GE(metrics.tmHeight - metrics.tmInternalLeading, leastHeight);
    EXPECT_EQ(line.at.x, client.left);
    EXPECT_GE(line.at.y, bottom);  // below the line above, not over it
    bottom = line.at.y + metrics.tmHeight;
  }
  EXPECT_LE(bottom, client.bottom);
}

class ReportDrawingTest : public ::testing::Test {
 protected:
  // Starts Tunemood, ending the one before, with a probe in its process; false when its window
  // did not show or the probe could not be hooked on.
  bool Start() {
    mProbe.reset();
    mProgram.Terminate();  // gone before the next starts: only one copy runs
    mProgram = ChildProcess(TunemoodPath(), L"");
    mWindow = WaitForShownWindow(mProgram.Id(), kWindowClass);
    if (mWindow == nullptr) return false;
    mProbe.emplace(ReportProbePath(), kReportProbeHook, mWindow);
    return mProbe->Installed();
  }

  std::vector<DrawnText> Report() {
    const std::optional<std::vector<BYTE>> metafile = mProbe->Ask(kRecordReport);
    return metafile ? ReadDrawnTexts(*metafile) : std::vector<DrawnText>{};
  }

  // Moves the window to another density as Windows does for a window that scales itself: the
  // suggested size keeps the client area in proportion.
  void ChangeDpi(unsigned from, unsigned to) {
    const RECT client = Client(mWindow);
    const int width = ::MulDiv(client.right, static_cast<int>(to), static_cast<int>(from));
    const int height = ::MulDiv(client.bottom, static_cast<int>(to), static_cast<int>(from));
    const RECT outer = Outer(mWindow);
    const int frameWidth = (outer.right - outer.left) - client.right;
    mProbe->Tell(kChangeDpi, to, MAKELPARAM(width + frameWidth, height + FrameHeight(mWindow)));
  }

  // Paused: the caption, the paused flag and the track have something to show.
  const PlayerWindow mPlayer{L"1. Some Artist - Some Title - Winamp [Paused]"};
  HWND mWindow = nullptr;

 private:
  ChildProcess mProgram;
  std::optional<ProbeChannel> mProbe;
};

class ReportAtDensityTest : public ReportDrawingTest,
                            public ::testing::WithParamInterface<unsigned> {};

TEST_P(ReportAtDensityTest, ShowsAllItsLinesWithWinesMetricsAndWithWindows10And11s) {
  const unsigned dpi = GetParam();
  int wineFrame = 0;
  for (const Metrics metrics : {Metrics::Wine, Metrics::Windows10And11}) {
    SCOPED_TRACE(metrics == Metrics::Wine ? "Wine's metrics" : "Windows 10 and 11's metrics");
    const DisplaySettings settings(dpi, metrics);
    ASSERT_TRUE(Start());
    ExpectEnlargedByHalfAndCentred(mWindow, dpi);
    const std::vector<DrawnText> report = Report();  // asked for before the client area is read
    ExpectWholeReport(report, Client(mWindow), dpi);
    if (metrics == Metrics::Wine) wineFrame = FrameHeight(mWindow);
  }
  // Windows 10 and 11's taller caption and menu bar: the settings took effect.
  EXPECT_GT(FrameHeight(mWindow), wineFrame);
}

INSTANTIATE_TEST_SUITE_P(Dpi, ReportAtDensityTest, ::testing::Values(96u, 120u, 144u, 192u));

TEST_F(ReportDrawingTest, ShowsAllItsLinesAfterMovingToAHigherAndToALowerDensity) {
  for (const auto& [from, to] : {std::pair{96u, 144u}, std::pair{144u, 96u}}) {
    SCOPED_TRACE(testing::Message() << from << " dpi to " << to << " dpi");
    const DisplaySettings settings(from, Metrics::Windows10And11);
    ASSERT_TRUE(Start());
    ASSERT_FALSE(Report().empty());  // the probe is in
    ChangeDpi(from, to);
    const std::vector<DrawnText> report = Report();  // after the change it asks for
    ExpectWholeReport(report, Client(mWindow), to);
  }
}

}  // namespace

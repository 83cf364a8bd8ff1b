#include "win32/main_window.h"

#include <utility>
#include <vector>

#include "app/state.h"
#include "ui/about.h"
#include "ui/debug_report.h"
#include "ui/form_geometry.h"
#include "win32/dpi.h"
#include "win32/gdi.h"
#include "win32/resource.h"
#include "win32/version_info.h"
#include "win32/window_frame.h"

namespace {

constexpr wchar_t kClassName[] = L"TunemoodMain";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 1000;

HICON LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TUNEMOOD), IMAGE_ICON,
                                         ::GetSystemMetrics(widthMetric),
                                         ::GetSystemMetrics(heightMetric), LR_SHARED));
}

RECT ClientArea(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return client;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Outside& outside)
    : mInstance(instance), mOutside(outside), mLife(outside, *this) {}

MainWindow::~MainWindow() {
  if (mHwnd != nullptr) ::DestroyWindow(mHwnd);
}

bool MainWindow::Load() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &MainWindow::WindowProc;
  windowClass.hInstance = mInstance;
  windowClass.hIcon = LoadProgramIcon(mInstance, SM_CXICON, SM_CYICON);
  windowClass.hIconSm = LoadProgramIcon(mInstance, SM_CXSMICON, SM_CYSMICON);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
  windowClass.lpszClassName = kClassName;
  if (::RegisterClassExW(&windowClass) == 0) return false;

  mHwnd = ::CreateWindowExW(0, kClassName, L"frmMain", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            mInstance, this);
  if (mHwnd == nullptr) return false;
  WindowFrame(mHwnd).SetClientSize(kDesignClientWidth, kDesignClientHeight);
  Form_Load();
  return true;
}

void MainWindow::Show() {
  ::ShowWindow(mHwnd, SW_SHOWNORMAL);
}

// mLeftButtonDown and mCurrentMood got their start values with their owners.
void MainWindow::Form_Load() {
  mTimerRunning = ::SetTimer(mHwnd, kTimerId, kTimerInterval, nullptr) != 0;
  SetEnabledChecked(gEnabled);
  mFonts = ReportFonts(WindowDpi(mHwnd));
  ::SetWindowTextW(mHwnd, ReadOwnVersionString(L"ProductName").c_str());
  WindowFrame frame(mHwnd);
  EnlargeAndCentre(frame);
}

void MainWindow::ShowDebugInformation() {
  ::InvalidateRect(mHwnd, nullptr, FALSE);
  ::UpdateWindow(mHwnd);
}

void MainWindow::SetEnabledChecked(bool checked) {
  const UINT state = checked ? MF_CHECKED : MF_UNCHECKED;
  ::CheckMenuItem(::GetMenu(mHwnd), IDM_ENABLED, MF_BYCOMMAND | state);
}

void MainWindow::StopTimer() {
  if (mTimerRunning) ::KillTimer(mHwnd, kTimerId);
  mTimerRunning = false;
}

void MainWindow::ClearWindow() {
  const WindowDc dc(mHwnd);
  PaintReport(dc.get(), ClientArea(mHwnd), mFonts, {});
  mReportAccessibility.Show(mHwnd, {}, 0);
}

void MainWindow::Release() {
  ::DestroyWindow(mHwnd);
}

void MainWindow::PostQuit() {
  ::PostQuitMessage(0);
}

void MainWindow::BlockShutdown(std::wstring_view reason) {
  ::ShutdownBlockReasonCreate(mHwnd, std::wstring(reason).c_str());
}

// A reason set on a window that is gone went with it.
void MainWindow::AllowShutdown() {
  if (mHwnd != nullptr) ::ShutdownBlockReasonDestroy(mHwnd);
}

// Makes the report while painting and asks for no further repaint.
void MainWindow::Form_Paint() {
  const PaintScope paint(mHwnd);
  std::vector<ReportLine> report = BuildDebugInformation(mOutside);
  PaintReport(paint.get(), ClientArea(mHwnd), mFonts, report);
  mReportAccessibility.Show(mHwnd, std::move(report), ReportLineHeight(paint.get(), mFonts));
}

// For PrintWindow, AnimateWindow and the like, which want the client area in their own device
// context and keep what is drawn: no bitmap in between.
void MainWindow::OnPrintClient(HDC dc) {
  DrawReport(dc, ClientArea(mHwnd), mFonts, BuildDebugInformation(mOutside));
}

void MainWindow::OnCommand(UINT id) {
  switch (id) {
    case IDM_ENABLED:
      mLife.mnuEnabled_Click();
      break;
    case IDM_ABOUT:
      mnuAbout_Click();
      break;
    case IDM_EXIT:
      mLife.mnuExit_Click();
      break;
    default:
      break;
  }
}

void MainWindow::OnDpiChanged(unsigned dpi, const RECT& suggested) {
  mFonts = ReportFonts(dpi);
  ::SetWindowPos(mHwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(mHwnd, nullptr, FALSE);
}

void MainWindow::mnuAbout_Click() {
  const AboutBox box =
      MakeAboutBox(ReadOwnVersionString(L"ProductName"), ReadOwnVersionString(L"FileDescription"),
                   ReadOwnVersionString(L"LegalCopyright"));
  ::MessageBoxW(mHwnd, box.text.c_str(), box.caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<MainWindow*>(create->lpCreateParams);
    window->mHwnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A handler may destroy the window, which clears mHwnd; what goes on to DefWindowProcW is still
  // addressed to the handle the message came for.
  const HWND hwnd = mHwnd;
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId) mLife.tmrTimer_Timer();
      return 0;
    case WM_PAINT:
      Form_Paint();
      return 0;
    case WM_PRINTCLIENT:
      OnPrintClient(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_LBUTTONDOWN:
      mLife.Form_MouseDown(kLeftButton);
      return 0;
    case WM_RBUTTONDOWN:
      mLife.Form_MouseDown(kRightButton);
      return 0;
    case WM_MBUTTONDOWN:
      mLife.Form_MouseDown(kMiddleButton);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      mLife.Form_DblClick();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETOBJECT:
      return mReportAccessibility.OnGetObject(hwnd, wParam, lParam);
    case WM_CLOSE:
      mLife.Form_Close();
      return 0;
    case WM_QUERYENDSESSION:  // a log-off, a shutdown or an installer's restart manager alike
      return mLife.Form_QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      mLife.Form_EndSession(wParam != FALSE);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(mHwnd, GWLP_USERDATA, 0);
      mHwnd = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

#include "win32/main_window.h"

#include "app/state.h"

namespace {

constexpr wchar_t kClassName[] = L"TunemoodMain";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 1000;

enum MenuCommand : UINT { kMenuEnabled = 1, kMenuAbout, kMenuExit };

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Outside& outside)
    : mInstance(instance), mOutside(outside), mSync(outside, *this) {}

bool MainWindow::Load() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &MainWindow::WindowProc;
  windowClass.hInstance = mInstance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  ::RegisterClassExW(&windowClass);

  mHwnd = ::CreateWindowExW(0, kClassName, L"frmMain", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 468, 320, nullptr, nullptr, mInstance, this);
  if (mHwnd == nullptr)
    return false;
  Form_Load();
  return true;
}

void MainWindow::Show() {
  ::ShowWindow(mHwnd, SW_SHOWNORMAL);
}

void MainWindow::Form_Load() {
  HMENU bar = ::CreateMenu();
  mPopUp = ::CreatePopupMenu();
  ::AppendMenuW(mPopUp, MF_STRING, kMenuEnabled, L"&Enabled");
  ::AppendMenuW(mPopUp, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(mPopUp, MF_STRING, kMenuAbout, L"&About...");
  ::AppendMenuW(mPopUp, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(mPopUp, MF_STRING, kMenuExit, L"E&xit");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mPopUp), L"PopUp");
  ::SetMenu(mHwnd, bar);
  mTimerRunning = ::SetTimer(mHwnd, kTimerId, kTimerInterval, nullptr) != 0;
  SetEnabledChecked(gEnabled);
  ::SetWindowTextW(mHwnd, L"Tunemood");
}

void MainWindow::ShowDebugInformation() {
  ::InvalidateRect(mHwnd, nullptr, FALSE);
  ::UpdateWindow(mHwnd);
}

void MainWindow::SetEnabledChecked(bool checked) {
  const UINT state = checked ? MF_CHECKED : MF_UNCHECKED;
  ::CheckMenuItem(mPopUp, kMenuEnabled, MF_BYCOMMAND | state);
}

void MainWindow::StopTimer() {
  if (mTimerRunning)
    ::KillTimer(mHwnd, kTimerId);
  mTimerRunning = false;
}

void MainWindow::ClearWindow() {
  ::InvalidateRect(mHwnd, nullptr, TRUE);
}

void MainWindow::Form_Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(mHwnd, &paint);
  ::EndPaint(mHwnd, &paint);
  static_cast<void>(dc);
}

void MainWindow::OnCommand(UINT id) {
  switch (id) {
    case kMenuEnabled:
      mSync.mnuEnabled_Click();
      break;
    case kMenuExit:
      ::SendMessageW(mHwnd, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<MainWindow*>(create->lpCreateParams);
    window->mHwnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr)
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = mHwnd;
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId)
        mSync.tmrTimer_Timer();
      return 0;
    case WM_PAINT:
      Form_Paint();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      mSync.Form_Unload();
      ::DestroyWindow(mHwnd);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
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

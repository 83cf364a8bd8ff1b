// The real program's window under Wine: its caption, size and place, the menu's check mark, the
// mouse, the About box, the ways out, and a screenshot of the report.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "child_process.h"
#include "menu_probe.h"
#include "ui_test_support.h"
#include "win32/gdi.h"
#include "win32/handles.h"
#include "win32/resource.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kWindowClass[] = L"TunemoodMain";
const std::wstring kMenuOff = L"PopUp: &Enabled - &About... - E&xit";
const std::wstring kMenuOn = L"PopUp: &Enabled(checked) - &About... - E&xit";

std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR unused = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &unused);
  return text;
}

void DoubleClick(HWND window, DWORD down, DWORD up) {
  RECT client{};
  ::GetClientRect(window, &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ::ClientToScreen(window, &centre);
  // The window of the test before may still be going away on top of this one; clicks must land
  // on this one.
  WaitUntil([&] { return ::WindowFromPoint(centre) == window; }, 3s);
  ::SetCursorPos(centre.x, centre.y);
  INPUT inputs[4] = {};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = i % 2 == 0 ? down : up;
  }
  ::SendInput(4, inputs, sizeof(INPUT));
}

// A hidden window of our own that receives the probe's answers.
LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* reply = reinterpret_cast<std::wstring*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    reply->assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// Reads the program's menu from inside its process, through the probe DLL hooked onto its
// window's thread.
class MenuProbe {
 public:
  MenuProbe(const std::wstring& dllPath, HWND program) : mProgram(program) {
    WNDCLASSW replyClass{};
    replyClass.lpfnWndProc = &ReplyWindowProc;
    replyClass.hInstance = ::GetModuleHandleW(nullptr);
    replyClass.lpszClassName = L"TunemoodMenuProbeReply";
    ::RegisterClassW(&replyClass);
    mReplyWindow.reset(::CreateWindowExW(0, replyClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
                                         nullptr, nullptr, replyClass.hInstance, nullptr));
    ::SetWindowLongPtrW(mReplyWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&mReply));

    mDll.reset(::LoadLibraryW(dllPath.c_str()));
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(mDll.get(), kMenuProbeHook)));
    const DWORD thread = ::GetWindowThreadProcessId(program, nullptr);
    if (hook != nullptr) mHook.reset(::SetWindowsHookExW(WH_GETMESSAGE, hook, mDll.get(), thread));
  }

  bool Installed() const { return mReplyWindow && mHook; }

  // The menu as the probe describes it; "" when the program did not answer.
  std::wstring Read() {
    const UINT query = ::RegisterWindowMessageW(kMenuProbeMessage);
    mReply.clear();
    // The hook loads into the program with a message it takes: ask again until it answers.
    for (int attempt = 0; attempt < 10 && mReply.empty(); ++attempt) {
      ::PostMessageW(mProgram, query, reinterpret_cast<WPARAM>(mReplyWindow.get()), 0);
      PumpUntil([&] { return !mReply.empty(); }, 500ms);
    }
    return mReply;
  }

 private:
  HWND mProgram;
  std::wstring mReply;
  UniqueHandle<HWND, &::DestroyWindow> mReplyWindow;
  UniqueHandle<HMODULE, &::FreeLibrary> mDll;
  UniqueHandle<HHOOK, &::UnhookWindowsHookEx> mHook;
};

HWND FindOwnedMessageBox(HWND owner) {
  for (HWND box = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box != nullptr;
       box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    if (::GetWindow(box, GW_OWNER) == owner && ::IsWindowVisible(box)) return box;
  }
  return nullptr;
}

std::vector<HWND> Children(HWND parent, const wchar_t* className) {
  std::vector<HWND> children;
  for (HWND child = ::FindWindowExW(parent, nullptr, className, nullptr); child != nullptr;
       child = ::FindWindowExW(parent, child, className, nullptr)) {
    if (::IsWindowVisible(child)) children.push_back(child);
  }
  return children;
}

// The window's pixels as they are on the screen, 24 bits each, rows from the bottom up.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<BYTE> pixels;
};

Screenshot TakeScreenshot(const RECT& area) {
  Screenshot shot;
  shot.width = area.right - area.left;
  shot.height = area.bottom - area.top;
  const WindowDc screen(nullptr);
  const UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  const UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), shot.width, shot.height));
  {
    const SelectedObject select(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top,
             SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), shot.width, shot.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const std::size_t stride = (static_cast<std::size_t>(shot.width) * 3 + 3) & ~std::size_t{3};
  shot.pixels.resize(stride * static_cast<std::size_t>(shot.height));
  ::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(shot.height), shot.pixels.data(),
              &info, DIB_RGB_COLORS);
  return shot;
}

bool SaveBitmap(const Screenshot& shot, const std::wstring& path) {
  BITMAPINFOHEADER info{
      sizeof(BITMAPINFOHEADER), shot.width, shot.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const DWORD pixelBytes = static_cast<DWORD>(shot.pixels.size());
  BITMAPFILEHEADER file{0x4D42, offset + pixelBytes, 0, 0, offset};
  const UniqueKernelHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (out.get() == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  return ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         ::WriteFile(out.get(), &info, sizeof info, &written, nullptr) &&
         ::WriteFile(out.get(), shot.pixels.data(), pixelBytes, &written, nullptr);
}

// Pixels much darker than the window's background: the report's text.
std::size_t DarkPixels(const Screenshot& shot) {
  std::size_t dark = 0;
  for (std::size_t i = 0; i + 2 < shot.pixels.size(); i += 3) {
    if (shot.pixels[i] + shot.pixels[i + 1] + shot.pixels[i + 2] < 150) ++dark;
  }
  return dark;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = ChildProcess(LinuxArgument(0), L"");
    ASSERT_TRUE(program.Running());
    window = WaitForWindow(kWindowClass, 10s, program.Id());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 5s));
  }

  void ExpectEnds(std::chrono::milliseconds timeout = 5s) {
    EXPECT_EQ(program.WaitForExit(timeout), 0);
  }

  ChildProcess program;
  HWND window = nullptr;
};

TEST_F(MainWindowTest, AppearsWithItsCaptionEnlargedByHalfAndCentredOnTheScreen) {
  EXPECT_EQ(Text(window), L"Tunemood");

  RECT outer{};
  RECT client{};
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int frameWidth = width - client.right;
  const int frameHeight = height - client.bottom;
  // Designed with a client area of 4680 x 3195 twips, 312 x 213 pixels at 96 dpi.
  const int dpi = ::GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY);
  const double designWidth = 4680.0 * dpi / 1440 + frameWidth;
  const double designHeight = 3195.0 * dpi / 1440 + frameHeight;
  EXPECT_NEAR(width, 1.5 * designWidth, 1.0);
  EXPECT_NEAR(height, 1.5 * designHeight, 1.0);
  EXPECT_NEAR(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2.0, 1.0);
  EXPECT_NEAR(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2.0, 1.0);
}

TEST_F(MainWindowTest, EnabledCheckFollowsTheMenuCommandAndLeftDoubleClicksButNotRightOnes) {
  MenuProbe menu(LinuxArgument(1), window);
  ASSERT_TRUE(menu.Installed());
  EXPECT_EQ(menu.Read(), kMenuOff);

  ASSERT_TRUE(Send(window, WM_COMMAND, IDM_ENABLED, 0));
  EXPECT_EQ(menu.Read(), kMenuOn);

  DoubleClick(window, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil([&] { return menu.Read() == kMenuOff; }, 5s));

  DoubleClick(window, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  PumpUntil([] { return false; }, 500ms);  // time for a wrong switch to show
  EXPECT_EQ(menu.Read(), kMenuOff);

  DoubleClick(window, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil([&] { return menu.Read() == kMenuOn; }, 5s));
}

TEST_F(MainWindowTest, AboutShowsTitleDescriptionAndCopyrightAndOkDismissesIt) {
  // Posted: the command opens a modal box and returns only when it is dismissed.
  ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, IDM_ABOUT, 0));
  HWND box = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (box = FindOwnedMessageBox(window)) != nullptr; }, 5s));
  EXPECT_EQ(Text(box), L"About Tunemood");

  std::wstring text;
  bool icon = false;
  for (HWND label : Children(box, L"Static")) {
    if ((::GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = true;
    if (Text(label).size() > text.size()) text = Text(label);
  }
  const std::wstring head =
      L"Tunemood\r\rSets Winamp's current track as your Skype status (mood).\r\rCopyright ";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
  EXPECT_TRUE(icon);

  const std::vector<HWND> buttons = Children(box, L"Button");
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(::GetDlgCtrlID(buttons[0]), IDOK);
  ::PostMessageW(buttons[0], BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(box); }, 5s));
  EXPECT_TRUE(program.Running());
}

TEST_F(MainWindowTest, ExitEndsTheProgram) {
  ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, IDM_EXIT, 0));
  ExpectEnds();
}

TEST_F(MainWindowTest, TheCloseButtonEndsTheProgram) {
  ASSERT_TRUE(::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0));
  ExpectEnds();
}

TEST_F(MainWindowTest, TheEndOfTheSessionEndsTheProgramBeforeItReturns) {
  // lParam 0: the system shuts down.
  DWORD_PTR mayEnd = 0;
  ASSERT_TRUE(Send(window, WM_QUERYENDSESSION, 0, 0, &mayEnd));
  EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(Send(window, WM_ENDSESSION, TRUE, 0));
  EXPECT_FALSE(::IsWindow(window));
  ExpectEnds();
}

TEST_F(MainWindowTest, ASecondCopyEndsAtOnceWithoutAWindow) {
  ChildProcess second(LinuxArgument(0), L"");
  EXPECT_EQ(second.WaitForExit(10s), 0);
  EXPECT_EQ(::FindWindowExW(nullptr, window, kWindowClass, nullptr), nullptr);
}

TEST_F(MainWindowTest, TheReportShowsThePlayerAndIsKeptAsAScreenshot) {
  RECT outer{};
  ::GetWindowRect(window, &outer);
  Screenshot before;
  ASSERT_TRUE(PumpUntil([&] { return DarkPixels(before = TakeScreenshot(outer)) > 2000; }, 5s));

  // A window of the player's class, made here: the next report shows its caption and track.
  const PlayerWindow player(L"1. Some Artist - Some Title - Winamp [Paused]");
  ASSERT_TRUE(PumpUntil([&] { return TakeScreenshot(outer).pixels != before.pixels; }, 5s));
  ASSERT_TRUE(Send(window, WM_NULL, 0, 0));  // answered once a paint under way is over

  const Screenshot shot = TakeScreenshot(outer);
  EXPECT_GT(DarkPixels(shot), DarkPixels(before));
  EXPECT_TRUE(SaveBitmap(shot, LinuxArgument(2)));
}

// The program file carries one icon in the five sizes, 256 colours each.
TEST(ProgramFileTest, CarriesItsIconInFiveSizesAt256Colours) {
  const UniqueHandle<HMODULE, &::FreeLibrary> file(
      ::LoadLibraryExW(LinuxArgument(0).c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(file);
  const HRSRC found = ::FindResourceW(file.get(), MAKEINTRESOURCEW(IDI_TUNEMOOD), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* group = static_cast<const BYTE*>(::LockResource(::LoadResource(file.get(), found)));
  ASSERT_NE(group, nullptr);
  // The group: reserved, type and count as 16-bit words, then 14 bytes per image.
  const int count = group[4] | group[5] << 8;
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = group + 6 + 14 * i;
    const int bitsPerPixel = entry[6] | entry[7] << 8;
    EXPECT_EQ(bitsPerPixel, 8);
    EXPECT_EQ(entry[0], entry[1]);
    sizes.push_back(entry[0]);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 128}));
}

}  // namespace

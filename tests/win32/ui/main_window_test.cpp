// The real program's window under Wine: its caption, size and place, the menu's check mark, the
// mouse, the About box, and a screenshot of the report. The ways out and a second copy are the
// journey's (tests/e2e), where the chat client shows what each leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "built_paths.h"
#include "child_process.h"
#include "menu_probe.h"
#include "probe_channel.h"
#include "screenshot.h"
#include "standins.h"
#include "waiting.h"
#include "win32/gdi.h"
#include "win32/handles.h"
#include "win32/resource.h"
#include "window_search.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TunemoodMain";
const std::wstring kMenuOff = L"PopUp: &Enabled - &About... - E&xit";
const std::wstring kMenuOn = L"PopUp: &Enabled(checked) - &About... - E&xit";

std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR unused = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        static_cast<UINT>(kHangLimit.count()), &unused);
  return text;
}

void DoubleClick(HWND window, DWORD down, DWORD up) {
  RECT client{};
  ::GetClientRect(window, &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ::ClientToScreen(window, &centre);
  // The window of the test before may still be going away on top of this one; clicks must land
  // on this one.
  WaitUntil([&] { return ::WindowFromPoint(centre) == window; });
  // Each press carries its place: a pointer that has not yet arrived where it was put would
  // make the two clicks land apart, which is no double-click.
  const auto absolute = [](LONG pixel, int metric) {
    return static_cast<LONG>(pixel * 65535 / (::GetSystemMetrics(metric) - 1));
  };
  INPUT inputs[4] = {};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = absolute(centre.x, SM_CXSCREEN);
    inputs[i].mi.dy = absolute(centre.y, SM_CYSCREEN);
    inputs[i].mi.dwFlags = (i % 2 == 0 ? down : up) | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  ::SendInput(4, inputs, sizeof(INPUT));
}

// Reads the program's menu from inside its process, through the probe DLL hooked onto its
// window's thread.
class MenuProbe {
 public:
  explicit MenuProbe(HWND program) : mChannel(MenuProbePath(), kMenuProbeHook, program) {}

  bool Installed() const { return mChannel.Installed(); }

  // The menu as the probe describes it; "" when the program did not answer.
  std::wstring Read() { return Ask(kMenuProbeMessage); }

  // Double-clicks the window and waits until the program has taken the clicks; false when it
  // did not.
  bool DoubleClick(HWND window, DWORD down, DWORD up) {
    const auto buttonUps = [&] { return std::stoul(L"0" + Ask(kButtonUpsProbeMessage)); };
    const unsigned long before = buttonUps();
    ::DoubleClick(window, down, up);
    return WaitUntil([&] { return buttonUps() >= before + 2; });
  }

  // The probe's answer to one of its messages; "" when the program did not answer.
  std::wstring Ask(const wchar_t* messageName) {
    return mChannel.AskText(messageName).value_or(L"");
  }

 private:
  ProbeChannel mChannel;
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

// Pixels much darker than the window's background: the report's text.
std::size_t DarkPixels(const Screenshot& shot) {
  std::size_t dark = 0;
  for (std::size_t i = 0; i + 2 < shot.pixels.size(); i += 3) {
    if (shot.pixels[i] + shot.pixels[i + 1] + shot.pixels[i + 2] < 150) ++dark;
  }
  return dark;
}

// The report on its light background; a window not painted yet is dark all over.
bool ShowsReport(const Screenshot& shot) {
  const std::size_t dark = DarkPixels(shot);
  return dark > 2000 && dark < shot.pixels.size() / 3 / 2;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = ChildProcess(TunemoodPath(), L"");
    ASSERT_TRUE(program.Running());
    window = WaitForShownWindow(program.Id(), kWindowClass);
    ASSERT_NE(window, nullptr);
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
  MenuProbe menu(window);
  ASSERT_TRUE(menu.Installed());
  EXPECT_EQ(menu.Read(), kMenuOff);

  ASSERT_TRUE(Send(window, WM_COMMAND, IDM_ENABLED, 0));
  EXPECT_EQ(menu.Read(), kMenuOn);

  ASSERT_TRUE(menu.DoubleClick(window, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP));
  EXPECT_EQ(menu.Read(), kMenuOff);

  ASSERT_TRUE(menu.DoubleClick(window, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
  EXPECT_EQ(menu.Read(), kMenuOff);

  ASSERT_TRUE(menu.DoubleClick(window, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP));
  EXPECT_EQ(menu.Read(), kMenuOn);
}

// At log-off Windows asks the higher levels first: the program puts the user's mood back while
// the chat client, at the default level of ordinary programs, still runs.
TEST_F(MainWindowTest, AsksToBeEndedBeforeOrdinaryPrograms) {
  MenuProbe probe(window);
  ASSERT_TRUE(probe.Installed());
  const std::wstring level = probe.Ask(kShutdownLevelProbeMessage);
  ASSERT_FALSE(level.empty());
  EXPECT_GT(std::stoul(level), 0x280UL);
}

TEST_F(MainWindowTest, AboutShowsTitleDescriptionAndCopyrightAndOkDismissesIt) {
  // Posted: the command opens a modal box and returns only when it is dismissed.
  ASSERT_TRUE(::PostMessageW(window, WM_COMMAND, IDM_ABOUT, 0));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindOwnedMessageBox(window)) != nullptr; }));
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
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
  EXPECT_TRUE(program.Running());
}

TEST_F(MainWindowTest, TheReportShowsThePlayerAndIsKeptAsAScreenshot) {
  RECT outer{};
  ::GetWindowRect(window, &outer);
  Screenshot before;
  ASSERT_TRUE(WaitUntil([&] { return ShowsReport(before = TakeScreenshot(outer)); }));

  // A window of the player's class, made here: the next report shows its caption and track.
  const PlayerWindow player(L"1. Some Artist - Some Title - Winamp [Paused]");
  ASSERT_TRUE(WaitUntil([&] { return TakeScreenshot(outer).pixels != before.pixels; }));
  ASSERT_TRUE(Send(window, WM_NULL, 0, 0));  // answered once a paint under way is over

  const Screenshot shot = TakeScreenshot(outer);
  EXPECT_GT(DarkPixels(shot), DarkPixels(before));
  EXPECT_TRUE(SaveBitmap(shot, L"tunemood-window.bmp"));
}

// The program file's resources, read without running it.
class ProgramFileTest : public ::testing::Test {
 protected:
  // The resource's bytes; empty when it is missing.
  std::string_view Resource(const wchar_t* type, const wchar_t* name) const {
    const HRSRC found = ::FindResourceW(file.get(), name, type);
    if (found == nullptr) return {};
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(file.get(), found)));
    return bytes == nullptr ? std::string_view()
                            : std::string_view(bytes, ::SizeofResource(file.get(), found));
  }

  const UniqueModule file{::LoadLibraryExW(
      TunemoodPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)};
};

// The program file carries one icon in the five sizes, 256 colours each.
TEST_F(ProgramFileTest, CarriesItsIconInFiveSizesAt256Colours) {
  const std::string_view resource = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_TUNEMOOD));
  ASSERT_FALSE(resource.empty());
  const auto* group = reinterpret_cast<const BYTE*>(resource.data());
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

// It runs with the user's own rights, never under UAC's virtualised registry and files.
TEST_F(ProgramFileTest, ItsManifestAsksToRunAsInvoker) {
  const std::string_view manifest = Resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
  const std::size_t element = manifest.find("<requestedExecutionLevel ");
  ASSERT_NE(element, std::string_view::npos);
  const std::string_view tag = manifest.substr(element, manifest.find('>', element) - element);
  EXPECT_NE(tag.find(R"(level="asInvoker")"), std::string_view::npos) << tag;
}

}  // namespace

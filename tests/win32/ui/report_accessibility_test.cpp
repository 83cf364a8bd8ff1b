// The report as a screen reader gets it: read from this process through MSAA, as screen readers
// read another program, and held against what the window draws, line by line, heading by
// heading and place by place; a switch of Enabled told to a listener as the change of its line;
// and the report drawn in the system's colours, which high contrast sets.
#include <windows.h>
// After windows.h, whose types they use.
#include <oleacc.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "built_paths.h"
#include "child_process.h"
#include "probe_channel.h"
#include "recorded_drawing.h"
#include "report_probe.h"
#include "screenshot.h"
#include "standins.h"
#include "waiting.h"
#include "win32/com_apartment.h"
#include "win32/handles.h"
#include "win32/resource.h"
#include "window_search.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr wchar_t kWindowClass[] = L"TunemoodMain";
constexpr wchar_t kEnabledOff[] = L"Setting Skype Status As Winamp Current Track? False";
constexpr wchar_t kEnabledOn[] = L"Setting Skype Status As Winamp Current Track? True";

using UniqueWinEventHook = UniqueHandle<HWINEVENTHOOK, &::UnhookWinEvent>;

VARIANT ChildId(long id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

std::wstring Name(IAccessible& object, long id) {
  UniqueBstr name;
  if (object.get_accName(ChildId(id), name.put()) != S_OK || !name) return L"";
  return {name.get(), ::SysStringLen(name.get())};
}

long Role(IAccessible& object, long id) {
  VARIANT role{};
  if (object.get_accRole(ChildId(id), &role) != S_OK || role.vt != VT_I4) return -1;
  return role.lVal;
}

// Where a line is on the screen; empty when it does not say.
RECT Place(IAccessible& object, long id) {
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;
  if (object.accLocation(&left, &top, &width, &height, ChildId(id)) != S_OK) return {};
  return {left, top, left + width, top + height};
}

// The child at a point of the screen, as a screen reader following the pointer asks for it; -1
// when the answer is no child of this object.
long ChildAt(IAccessible& object, POINT point) {
  VARIANT child{};
  if (object.accHitTest(point.x, point.y, &child) != S_OK || child.vt != VT_I4) {
    ::VariantClear(&child);
    return -1;
  }
  return child.lVal;
}

struct AccessibleLine {
  std::wstring name;
  long role = 0;
  RECT place{};
};

ComPtr<IAccessible> ClientObject(HWND window) {
  ComPtr<IAccessible> client;
  ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               &client);
  return client;
}

// The client area's children as a screen reader enumerates them; none until the first report.
std::vector<AccessibleLine> ReadLines(IAccessible& client) {
  long count = 0;
  if (FAILED(client.get_accChildCount(&count)) || count <= 0) return {};
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long obtained = 0;
  if (FAILED(::AccessibleChildren(&client, 0, count, children.data(), &obtained))) return {};
  std::vector<AccessibleLine> lines;
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    // Lines are simple elements, known by their ids; an object here would be no line.
    const long id = child.vt == VT_I4 ? child.lVal : 0;
    ::VariantClear(&child);
    lines.push_back({Name(client, id), Role(client, id), Place(client, id)});
  }
  return lines;
}

// What one WinEvent hook, out of context, heard of name changes; the callback has no context of
// its own, so one at a time.
class NameChanges {
 public:
  struct Event {
    HWND window;
    LONG object;
    LONG child;
  };

  explicit NameChanges(DWORD processId)
      : mHook(::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, &Heard,
                                processId, 0, WINEVENT_OUTOFCONTEXT)) {
    sEvents = &mEvents;
  }
  ~NameChanges() { sEvents = nullptr; }
  NameChanges(const NameChanges&) = delete;
  NameChanges& operator=(const NameChanges&) = delete;

  bool Installed() const { return static_cast<bool>(mHook); }
  // The children of the window's client area whose names were told to have changed.
  std::vector<LONG> ChildrenOf(HWND window) const {
    std::vector<LONG> children;
    for (const Event& event : mEvents) {
      if (event.window == window && event.object == OBJID_CLIENT) children.push_back(event.child);
    }
    return children;
  }

 private:
  static void CALLBACK Heard(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                             DWORD) {
    if (sEvents != nullptr) sEvents->push_back({window, object, child});
  }

  static inline std::vector<Event>* sEvents = nullptr;
  std::vector<Event> mEvents;
  UniqueWinEventHook mHook;
};

class ReportAccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = ChildProcess(TunemoodPath(), L"");
    window = WaitForShownWindow(program.Id(), kWindowClass);
    ASSERT_NE(window, nullptr);
    client = ClientObject(window);
    ASSERT_NE(client, nullptr);
    // The first report is drawn.
    ASSERT_TRUE(WaitUntil([&] { return ReadLines(*client.Get()).size() == 25; }));
  }

  // Paused: the caption, the paused flag and the track have something to show.
  const PlayerWindow player{L"1. Some Artist - Some Title - Winamp [Paused]"};
  const ComApartment apartment;
  ChildProcess program;
  HWND window = nullptr;
  ComPtr<IAccessible> client;
};

TEST_F(ReportAccessibilityTest, AnotherProcessReadsTheDrawnLinesInOrderWithTheHeadingsSetApart) {
  // The client area answers as itself, with the window's name, whatever its children.
  EXPECT_EQ(Role(*client.Get(), CHILDID_SELF), ROLE_SYSTEM_CLIENT);
  EXPECT_EQ(Name(*client.Get(), CHILDID_SELF), L"Tunemood");

  ProbeChannel probe(ReportProbePath(), kReportProbeHook, window);
  ASSERT_TRUE(probe.Installed());
  const std::optional<std::vector<BYTE>> metafile = probe.Ask(kRecordReport);
  ASSERT_TRUE(metafile.has_value());
  const std::vector<DrawnText> drawn = ReadDrawnTexts(*metafile);
  ASSERT_EQ(drawn.size(), 25u);

  const std::vector<AccessibleLine> lines = ReadLines(*client.Get());
  ASSERT_EQ(lines.size(), drawn.size());
  POINT origin{};
  ::ClientToScreen(window, &origin);
  const LONG step = drawn[1].at.y - drawn[0].at.y;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "line " << i + 1);
    EXPECT_EQ(lines[i].name, drawn[i].text);
    const bool heading = drawn[i].font.lfWeight >= FW_BOLD;
    EXPECT_EQ(lines[i].role, heading ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_STATICTEXT);
    // Where it is drawn, for a screen reader to show it and to find it under the pointer.
    EXPECT_EQ(lines[i].place.left, origin.x + drawn[i].at.x);
    EXPECT_EQ(lines[i].place.top, origin.y + drawn[i].at.y);
    EXPECT_EQ(lines[i].place.bottom - lines[i].place.top, step);
    const POINT middle{lines[i].place.left + 1, lines[i].place.top + step / 2};
    EXPECT_EQ(ChildAt(*client.Get(), middle), static_cast<long>(i + 1));
  }
}

// Only line 1 changes with Enabled, and only it is told; the name is new when it is told.
TEST_F(ReportAccessibilityTest, EachSwitchOfEnabledIsToldAsTheChangeOfTheFirstLine) {
  ASSERT_EQ(Name(*client.Get(), 1), kEnabledOff);
  const NameChanges changes(program.Id());
  ASSERT_TRUE(changes.Installed());

  ASSERT_TRUE(Send(window, WM_COMMAND, IDM_ENABLED, 0));
  ASSERT_TRUE(WaitUntil([&] { return changes.ChildrenOf(window).size() == 1; }));
  EXPECT_EQ(Name(*client.Get(), 1), kEnabledOn);

  ASSERT_TRUE(Send(window, WM_COMMAND, IDM_ENABLED, 0));
  ASSERT_TRUE(WaitUntil([&] { return changes.ChildrenOf(window).size() >= 2; }));
  EXPECT_EQ(Name(*client.Get(), 1), kEnabledOff);
  // Reports went by between the two switches, with nothing else to tell.
  EXPECT_EQ(changes.ChildrenOf(window), (std::vector<LONG>{1, 1}));
}

// A screen reader that still holds the report when the program ends keeps nothing alive in it.
TEST_F(ReportAccessibilityTest, TheProgramEndsCleanlyWhileAnotherProcessHoldsTheReport) {
  ASSERT_TRUE(Send(window, WM_CLOSE, 0, 0));
  EXPECT_EQ(program.WaitForExit(), 0);
}

// The colours of the current user in the Wine prefix, for the programs started while it lives;
// the ones before are put back at its end.
class SystemColours {
 public:
  SystemColours(COLORREF face, COLORREF text)
      : mBefore{::GetSysColor(kElements[0]), ::GetSysColor(kElements[1])} {
    const COLORREF colours[] = {face, text};
    ::SetSysColors(2, kElements, colours);
  }
  ~SystemColours() { ::SetSysColors(2, kElements, mBefore); }
  SystemColours(const SystemColours&) = delete;
  SystemColours& operator=(const SystemColours&) = delete;

 private:
  static constexpr INT kElements[] = {COLOR_BTNFACE, COLOR_BTNTEXT};
  COLORREF mBefore[2];
};

std::size_t PixelsOf(const Screenshot& shot, COLORREF colour) {
  const std::size_t stride = (static_cast<std::size_t>(shot.width) * 3 + 3) & ~std::size_t{3};
  std::size_t count = 0;
  for (std::size_t row = 0; row < static_cast<std::size_t>(shot.height); ++row) {
    for (std::size_t column = 0; column < static_cast<std::size_t>(shot.width); ++column) {
      const BYTE* pixel = &shot.pixels[row * stride + column * 3];  // blue, green, red
      if (RGB(pixel[2], pixel[1], pixel[0]) == colour) ++count;
    }
  }
  return count;
}

// As high contrast sets them, yellow text on navy: the report follows the system's colours.
TEST(ReportColoursTest, TheReportIsDrawnInTheSystemsColoursSetBeforeTheProgramStarts) {
  constexpr COLORREF kFace = RGB(0, 0, 128);
  constexpr COLORREF kText = RGB(255, 255, 0);
  const SystemColours colours(kFace, kText);
  ChildProcess program(TunemoodPath(), L"");
  const HWND window = WaitForShownWindow(program.Id(), kWindowClass);
  ASSERT_NE(window, nullptr);

  RECT area{};
  ::GetClientRect(window, &area);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  const std::size_t all = static_cast<std::size_t>(area.right - area.left) *
                          static_cast<std::size_t>(area.bottom - area.top);
  Screenshot shot;
  // Mostly background, and the text's strokes: some hundreds of pixels in its colour.
  EXPECT_TRUE(WaitUntil([&] {
    shot = TakeScreenshot(area);
    return PixelsOf(shot, kFace) > all / 2 && PixelsOf(shot, kText) > 300;
  })) << PixelsOf(shot, kFace)
      << " of " << all << " pixels in the background's colour, " << PixelsOf(shot, kText)
      << " in the text's";
}

}  // namespace

// The README's main job: a short scripted session with the stand-in player and chat client that
// a newcomer can watch. Prints the chat client's mood text after every step and saves a picture
// of Tunemood's window.
//
//   tunemood_demo.exe SCREENSHOT.bmp
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/markup.h"
#include "desk.h"
#include "screenshot.h"
#include "win32/resource.h"

namespace {

// Wine passes a console program's output on as bytes: UTF-8 shows every title as it is.
void Print(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size,
                        nullptr, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

class Session {
 public:
  // One step: what happens, then what the chat client shows once Tunemood has had its tick.
  void Step(const std::wstring& what, const std::wstring& expected) {
    const bool arrived = mDesk.MoodBecomes(expected);
    Print(L"* " + what);
    Print(L"  mood text: \"" + mDesk.Chat().Mood() + L"\"" +
          (arrived ? L"" : L"  (not as expected)"));
    mAllAsExpected = mAllAsExpected && arrived;
  }

  bool Run(const std::wstring& screenshot) {
    const std::wstring own = L"Working from home";
    if (!mDesk.StartChat(own) || !mDesk.StartPlayer(L"1. Nina Ocean - Blue Hour - Winamp") ||
        !mDesk.StartTunemood() || !mDesk.WaitForRead()) {
      Print(L"The stand-ins or Tunemood did not start.");
      return false;
    }
    Step(
        L"The chat client runs with your own mood text; the player plays; Tunemood starts, "
        L"switched off",
        own);
    mDesk.Command(IDM_ENABLED);
    Step(L"Switched on (PopUp > Enabled): the track becomes a link",
         Track(L"Nina Ocean - Blue Hour"));
    mDesk.ShowCaption(L"1. Nina Ocean - Blue Hour - Winamp [Paused]");
    Step(L"Paused: the link blinks", FormatPausedMood(Track(L"Nina Ocean - Blue Hour")));
    mDesk.ShowCaption(L"2. Кино - Звезда по имени Солнце - Winamp");
    Step(L"Next track, with a Cyrillic title", Track(L"Кино - Звезда по имени Солнце"));
    mDesk.WholeTickPasses();  // let the report show the new track before the picture
    Print(SavePicture(screenshot) ? L"  (window picture saved)" : L"  (no window picture)");
    mDesk.ShowCaption(L"2. Кино - Звезда по имени Солнце - Winamp [Stopped]");
    Step(L"Stopped: your own mood text is back", own);
    mDesk.ShowCaption(L"3. Tom & Jerry - <Theme> - Winamp");
    Step(L"Playing a title with markup characters: they arrive escaped",
         Track(L"Tom & Jerry - <Theme>"));
    const long code = mDesk.ExitByMenu();
    Step(L"Exit (PopUp > Exit): your own mood text is put back", own);
    Print(code == 0 ? L"Tunemood ended." : L"Tunemood did not end as expected.");
    return mAllAsExpected && code == 0;
  }

 private:
  static std::wstring Track(const std::wstring& track) { return FormatPlayingMood(track); }
  // What the screen shows of Tunemood's window, frame included.
  bool SavePicture(const std::wstring& path) const {
    RECT frame{};
    return ::GetWindowRect(mDesk.TunemoodWindow(), &frame) &&
           SaveBitmap(TakeScreenshot(frame), path);
  }

  Desk mDesk;
  bool mAllAsExpected = true;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || !RegisterChatStandIn()) return 2;
  Session session;
  return session.Run(argv[1]) ? 0 : 1;
}

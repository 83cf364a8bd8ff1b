#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form_window.h"
#include "app/synchroniser.h"
#include "fake_platform/fake_world.h"

namespace explorer {

// How the chat client stands when the program starts.
enum class Start : std::uint8_t { ChatClosed, UsersText, OurOldMarkup, Count };

// What can happen next. The three handlers; the world changing between them; and a click or a
// close delivered while the next call into the chat client waits, before or after its effect, as
// the real component's wait dispatches messages. The timer fires inside every such wait.
enum class Event : std::uint8_t {
  Tick,
  Enabled,  // the menu item and the left double-click reach the same handler
  Close,
  ChatOpens,  // keeping its text
  ChatCloses,
  TypesBusy,
  TypesAway,
  PlaysA,
  PlaysB,
  Pauses,
  Stops,
  PlayerCloses,
  ShowsNoTrack,
  ReadFails,
  WriteFails,
  ConnectFails,
  ProfileFails,
  CreateFails,
  EnabledWhileWaiting,
  CloseWhileWaiting,
  EnabledWhenAnswered,
  CloseWhenAnswered,
  Count
};

std::string_view Name(Start start);
std::string_view Name(Event event);

// One run of the real Main and Synchroniser over the in-memory world, from a start through a
// sequence of events, checking every rule as it goes:
//   - one handler at a time: one delivered inside another's call makes no call and switches
//     nothing, except the close, which cannot wait (the session's end may end the process as
//     soon as it returns);
//   - every click before the close is carried out, in the order given, never inside a call;
//     none after the close; the check mark shows the switch;
//   - our markup is never saved as the user's text;
//   - switched off, no text of ours is written; switched on, a write differs from the last one
//     written; no text of ours is written that began after a close returned;
//   - no call while the chat client's window is absent;
//   - the user's text is never lost: at a quiet point, within two ticks, after a switch-off and
//     when a close returns (the chat client there, no failure pending), the chat client shows
//     the user's latest own text, as the ghost below knows it. A saved text written by a
//     switch-off or the close over a text typed less than a tick before, which no tick has read,
//     is accepted: that is what switching off and the close are for.
// The program's state lives in globals: one run at a time.
class Run {
 public:
  explicit Run(Start start, bool keepCalls = false);
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  bool Applies(Event event) const;
  void Apply(Event event);

  // The first rule broken so far; empty while none is.
  const std::string& Violation() const { return mViolation; }
  // The window is gone: nothing more happens to the program.
  bool Ended() const { return mClosed; }
  // Nothing of ours is wanted and nothing stands in the way: the user's latest own text must be
  // shown within two ticks from here.
  bool Quiet() const;
  // Checks that rule from here; runs the two ticks.
  void CheckSettles();

  // The program's state and the world's, merged for states that behave alike.
  std::uint64_t Hash() const;
  // The calls into the chat client so far, in order, when the run keeps them.
  std::string CallLog() const;

 private:
  // The window as the handlers see it; a switch shows when it runs, which for a click that had to
  // wait is after the handler it waited for.
  class Form final : public FormWindow {
   public:
    explicit Form(Run& run) : mRun(run) {}
    bool checked = false;
    void ShowDebugInformation() override {}
    void SetEnabledChecked(bool value) override {
      checked = value;
      if (!value) mRun.SwitchedOff();
    }
    void StopTimer() override {}
    void ClearWindow() override {}

   private:
    Run& mRun;
  };
  enum class Handler { Tick, Enabled, Close };
  enum class Player { Closed, Plays, Paused, Stopped, NoTrack };
  // A handler to deliver inside the next call into the chat client.
  struct Armed {
    Handler handler;
    bool whenAnswered;
  };

  void Deliver(Handler handler);
  void WhileWaiting(std::wstring_view call, FakeChatClient::Phase phase);
  void SwitchedOff();
  void Read();
  void Written(bool beganAfterClose);
  void Typed(const std::wstring& text);
  void ShowPlayer(Player player, const std::wstring& caption);
  void CheckAfterEvent();
  void CheckUsersTextShown(const char* when);
  bool FailurePending() const;
  bool ChatRuns() const;
  void Violate(const std::string& rule);

  FakeWorld mWorld;
  Form mForm{*this};
  Synchroniser mSync{mWorld.live, mForm};
  std::wstring mTrack = L"A";
  Player mPlayer = Player::Closed;

  // Up to two clicks or closes, delivered in the order given.
  std::vector<Armed> mArmed;
  int mHandlersRunning = 0;
  bool mCaptureUnderWay = false;
  // For each write under way, whether it began after a close had returned.
  std::vector<bool> mWritesUnderWay;
  bool mCloseStarted = false;
  bool mCloseReturned = false;
  bool mClosed = false;
  // Whether the close, or a switch-off in this event, found the chat client there with no
  // failure pending: then the user's text must be shown after it.
  bool mCloseMustRestore = false;
  bool mSwitchOffMustRestore = false;
  std::optional<std::wstring> mLastWritten;

  // The ghost: what the program should know without looking at its state. The user's latest own
  // text, unknown from a tick without the chat client until the next capture; whether what the
  // chat client shows is a track of ours (written, and not yet replaced by a text of the
  // user's); and a text the user typed that the program may still overwrite: one that no read
  // has seen yet, or one typed over our track while switched on.
  std::optional<std::wstring> mUsersText;
  bool mOursShown = false;
  // Our track was shown when switching off, and no switched-on read has claimed it again since: a
  // text typed over it stands, as over any text of ours left from a switch-off.
  bool mLeftOver = false;
  std::optional<std::wstring> mTyped;
  // A switch-off or the close came while such a text stood: it may put the saved text over it,
  // or, failing, leave it. Whichever the program keeps next, written or read, is the user's.
  bool mUndecided = false;
  // Every click before the close is carried out, in the end; none after it.
  bool mEnabledWanted = false;

  std::string mViolation;
};

}  // namespace explorer

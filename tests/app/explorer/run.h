#pragma once

// The handlers' explorer: a Run drives the real Main and FormLife through one sequence of events
// over the in-memory world and checks the rules below after each; explorer.h tries every
// sequence. The ghost (ghost.h) is what the program should know of the user's text.
//
// To add an event: name it in Event (before FirstNested) and in kEventNames, say in Applies when
// it may happen and in ApplyNow what it does; to let it also come while a call waits, add it to
// kNestedEvents. Add to Hash every field it changes that tells states apart, or write beside
// Hash why the field is left out.
// To add a rule: check it where it must hold (CheckAfterEvent after every event, Unload and
// EndProcess where the process may end, CheckSettles at a quiet point), call Violate with the
// rule in words, add it to the list above Run, and make sure a mutant of the product breaks it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/explorer/ghost.h"
#include "fake_platform/fake_world.h"
#include "ui/form_life.h"

namespace explorer {

// How the chat client stands when the program starts.
enum class Start : std::uint8_t { ChatClosed, UsersText, OurOldMarkup, Count };

// How the chat client's component waits for a call: it returns without running messages; it
// runs the program's messages (the timer fires in every wait) and keeps a quit message queued;
// it gives up the call on a queued quit message, which stays queued, while the chat client
// carries out a write late; or it takes the quit message and drops it.
enum class Waits : std::uint8_t { Returns, Pumps, Abandons, Swallows, Count };

// A call into the chat client that a message may arrive in, while it waits before its effect or
// once answered.
enum class Slot : std::uint8_t {
  Create,
  Connect,
  ReadProfile,
  ReadWaiting,
  ReadAnswered,
  WriteWaiting,
  WriteAnswered,
  Count
};

// What can happen next: the window's messages, the world changing between them, a failure of
// the next call of a kind, and then each of kNestedEvents delivered in each slot.
enum class Event : std::uint8_t {
  Tick,
  Enabled,  // the menu item and the left double-click reach the same handler
  Close,    // Exit and the close button unload alike
  LogOff,   // asked, told, and ended the moment the telling returns
  LogOffCancelled,
  Quit,       // a quit message from outside, taken by the message loop
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
  CreateFails,
  ConnectFails,
  ProfileFails,
  ReadFails,
  WriteFails,
  FirstNested,
};

// The events that may also come while a call waits: each of them in each slot is one event
// from FirstNested on, in this order.
inline constexpr std::array kNestedEvents = {Event::Enabled, Event::Close, Event::LogOff,
                                             Event::LogOffCancelled, Event::Quit};
inline constexpr int kEventCount =
    static_cast<int>(Event::FirstNested) +
    static_cast<int>(kNestedEvents.size()) * static_cast<int>(Slot::Count);

std::string Name(Start start);
std::string Name(Waits waits);
std::string Name(Event event);

// One run of the real Main and FormLife over the in-memory world, from a start through a
// sequence of events, checking every rule as it goes:
//   - one handler at a time: one delivered inside another's call makes no call and switches
//     nothing, except the unload, which cannot wait (the session's end may end the process as
//     soon as it returns);
//   - every click before the unload is carried out, in the order given, never inside a call;
//     none after it; the check mark shows the switch;
//   - our markup is never saved as the user's text;
//   - switched off, no text of ours is written; switched on, a write differs from the last one
//     written; no text of ours is written that began after an unload returned;
//   - no call while the chat client's window is absent; a write only while the user's text is
//     known: read since a tick last found the chat client;
//   - the user's text is never lost: at a quiet point within two ticks, after a switch-off, and
//     wherever Windows may end the process (an unload's return, the end of the session, the
//     message loop's end), the chat client shows the user's latest own text as the ghost below
//     knows it. Excused: a switch-off while a failure is pending; at the end, only when the
//     unloads met at least three failed calls, as many as an unload makes attempts. A saved text
//     written by a switch-off or an unload over a text typed that no tick has read is accepted:
//     that is what they are for. A link of ours counts as the user's "" only where an earlier
//     run left it, until the first write;
//   - switched on with a track playing or paused, at a quiet point within two ticks the chat
//     client shows exactly that track's markup, unless the user typed over that markup;
//   - a cancelled log-off changes nothing and makes no call;
//   - once the window is gone the program ends: a quit message is queued when the outermost
//     handler returns; it never ends before an unload or a quit message from outside.
// The program's state lives in globals: one run at a time.
class Run {
 public:
  Run(Start start, Waits waits, bool keepCalls = false);
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  bool Applies(Event event) const;
  void Apply(Event event);

  // The first rule broken so far; empty while none is.
  const std::string& Violation() const { return mViolation; }
  // The process has ended: nothing more happens to the program.
  bool Ended() const { return mEnded; }
  // Nothing stands in the way of what must be shown within two ticks from here.
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
  class Form final : public FormShell {
   public:
    explicit Form(Run& run) : mRun(run) {}
    bool checked = false;
    bool released = false;
    bool blocked = false;
    bool timerRunning = true;
    void ShowDebugInformation() override {}
    void SetEnabledChecked(bool value) override {
      checked = value;
      if (!value) mRun.SwitchedOff();
    }
    void StopTimer() override { timerRunning = false; }
    void ClearWindow() override {}
    void Release() override { released = true; }
    void PostQuit() override { mRun.mQuitQueued = true; }
    void BlockShutdown(std::wstring_view) override { blocked = true; }
    void AllowShutdown() override { blocked = false; }

   private:
    Run& mRun;
  };
  enum class Player { Closed, Plays, Paused, Stopped, NoTrack };
  // A message to deliver inside the next call of a kind.
  struct Armed {
    Event message;
    Slot slot;
  };
  struct WriteStart {
    bool enabled;
    bool afterUnload;
  };
  // Thrown where the process ends inside a call: nothing after it runs.
  struct ProcessEnded {};

  void ApplyNow(Event event);
  void Deliver(Event message);
  void Unload(Event message);
  void CancelledLogOff();
  bool WhileWaiting(std::wstring_view call, FakeChatClient::Phase phase);
  bool QuitGivesUpCall(std::wstring_view call, bool answered);
  void SwitchedOff();
  bool RunMessages(std::wstring_view call, bool answered);
  void Written(WriteStart start);
  void Typed(const std::wstring& text);
  void ShowPlayer(Player player, const std::wstring& caption);
  void TakeQuit();
  void EndProcess(const char* where);
  void CheckAfterEvent();
  void CheckUsersTextAtEnd(const std::string& where);
  void CheckUsersTextShown(const std::string& when);
  void CheckTrackShown();
  bool CallsMayFail() const;
  bool ChatRuns() const;
  std::optional<std::wstring> WantedMarkup() const;
  void Violate(const std::string& rule);

  FakeWorld mWorld;
  Waits mWaits;
  Form mForm{*this};
  FormLife mLife{mWorld.live, mForm};
  std::wstring mTrack = L"A";
  Player mPlayer = Player::Closed;

  // Up to two messages waiting for their call, delivered in the order given.
  std::vector<Armed> mArmed;
  bool mQuitQueued = false;
  bool mQuitAsked = false;
  int mHandlersRunning = 0;
  bool mCaptureUnderWay = false;
  std::vector<WriteStart> mWritesUnderWay;
  std::deque<WriteStart> mLateWrites;
  bool mUnloadStarted = false;
  bool mUnloadReturned = false;
  int mUnloadsRunning = 0;
  int mUnloadFailures = 0;
  bool mEnded = false;
  bool mStarted = false;
  bool mSwitchOffMustRestore = false;
  int mCalls = 0;

  Ghost mGhost;
  // Every click before the unload is carried out, in the end; none after it.
  bool mEnabledWanted = false;

  std::string mViolation;
};

}  // namespace explorer

#pragma once

// The handlers' explorer: a Run drives the real Main and FormLife through one sequence of events
// over the in-memory world and checks the rules below after each; explorer.h tries every
// sequence. The ghost (ghost.h) is what the program should know of the user's text.
//
// To add an event: name it in Event (before CreateFails) and in kEventNames, say in Applies when
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
#include <functional>
#include <map>
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
  Query,    // Windows asks whether the session may end
  End,      // the session ends: the process ends the moment the handler returns
  Cancel,   // the session goes on: another program refused to end
  Quit,     // a quit message from outside, taken by the message loop
  LeftPress,
  RightPress,
  MiddlePress,
  DoubleClick,  // in place of a second press of the button last pressed
  ChatOpens,    // keeping its text
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
inline constexpr std::array kNestedEvents = {Event::Enabled,   Event::Close,     Event::Query,
                                             Event::End,       Event::Cancel,    Event::Quit,
                                             Event::TypesBusy, Event::ChatCloses};
inline constexpr int kEventCount =
    static_cast<int>(Event::FirstNested) +
    static_cast<int>(kNestedEvents.size()) * static_cast<int>(Slot::Count);

// A message armed to come inside a call, and the slot it comes in.
bool IsNested(Event event);
Slot NestedSlot(Event event);
// Events that arm something for a later call: a message to come inside it, or its failure.
bool Arms(Event event);

std::string Name(Start start);
std::string Name(Waits waits);
std::string Name(Event event);

// One run of the real Main and FormLife over the in-memory world, from a start through a
// sequence of events, checking every rule as it goes:
//   - one handler at a time: one delivered inside another's call makes no call and switches
//     nothing, except the end's handlers, which cannot wait (Windows may end the process as soon
//     as they return);
//   - every click before the unload is carried out, in the order given, never inside a call;
//     none after it; a click given inside a query's put-back waits for the next tick or click;
//     the check mark shows the switch; a double-click switches when the last left or right press
//     was a left one;
//   - our markup is never saved as the user's text;
//   - switched off, no text of ours is written; switched on, a write differs from the last one
//     written (the end's put-backs aside); no text of ours is written that began after an unload
//     returned, or between a query and the end (the end, a cancellation or the user's own switch
//     at the top ends the hold);
//   - a tick writes at most once, unless an end came inside its calls: then it puts the saved
//     text back after its write;
//   - no call while the chat client's window is absent, unless it closed inside the handler that
//     calls; a write only while the user's text is known: read since a tick last found the chat
//     client;
//   - the user's text is never lost: at a quiet point within two ticks, after a switch-off, and
//     wherever Windows may end the process (a query's return, an unload's return, the end of the
//     session, the message loop's end), the chat client shows the user's latest own text as the
//     ghost knows it. Excused: a switch-off while a failure is pending; at an end's handler, only
//     when it met at least as many failed calls as it makes attempts. A saved text written by a
//     switch-off or an end over a text typed that no tick has read is accepted: that is what
//     they are for;
//   - switched on with a track playing or paused and no query waiting for its end (after a
//     cancellation too), at a quiet point within two ticks the chat client shows exactly that
//     track's markup, unless the user typed over that markup;
//   - a cancellation makes no call;
//   - while the window is there, every write inside a query or an end runs with the reason set
//     that Windows shows the user;
//   - the window is released exactly once, by the first unload, after its put-back;
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

  // What the last event that arms nothing reached: the slots, one bit each, in which a message
  // armed before it would have been delivered, and the kinds of call, one bit each in the order
  // of the failure events, whose failure armed before it would have been spent. Where nothing
  // was armed, the same calls run until the first of them.
  unsigned SlotsReached() const { return mSlotsReached; }
  unsigned CallsReached() const { return mCallsReached; }
  // A message armed and not yet delivered, or a failure armed and not yet spent.
  bool Undelivered() const;

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
    bool cleared = false;
    bool blocked = false;
    bool timerRunning = true;
    void ShowDebugInformation() override {}
    void SetEnabledChecked(bool value) override {
      checked = value;
      mRun.mTickSwitched = true;
      if (!value) mRun.SwitchedOff();
    }
    void StopTimer() override { timerRunning = false; }
    void ClearWindow() override { cleared = true; }
    // The reason belongs to the window: it goes with it, and a window gone shows none.
    void Release() override {
      mRun.Released();
      released = true;
      blocked = false;
    }
    void PostQuit() override { mRun.mQuitQueued = true; }
    void BlockShutdown(std::wstring_view) override { blocked = !released; }
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
    bool held;      // between a query and its end
    bool byEnd;     // inside a query or an unload: a put-back
    int endsBegun;  // before the outermost handler: an end since overtook what it read
  };
  // Thrown where the process ends inside a call: nothing after it runs.
  struct ProcessEnded {};

  void ApplyNow(Event event);
  void Deliver(Event message);
  int Unload(Event message);
  void Query();
  void Cancel();
  void Press(std::int16_t button);
  void DoubleClick();
  void Released();
  void CheckAtEndsReturn(bool mustRestore, int failures, const std::string& where);
  bool WhileWaiting(std::wstring_view call, FakeChatClient::Phase phase);
  bool QuitGivesUpCall(std::wstring_view call, bool answered);
  void SwitchedOff();
  bool RunMessages(std::wstring_view call, bool answered);
  void Written(WriteStart start);
  void Typed(const std::wstring& text);
  void ShowPlayer(Player player, const std::wstring& caption);
  void TakeQuit();
  void EndProcess(const char* where, int failures);
  void CheckAfterEvent();
  void CheckUsersTextShown(const std::string& when);
  void CheckTrackShown();
  bool CallsMayFail() const;
  bool ChatRuns() const;
  bool QueryArmed() const;
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
  unsigned mSlotsReached = 0;
  unsigned mCallsReached = 0;
  bool mQuitQueued = false;
  bool mQuitAsked = false;
  bool mCaptureUnderWay = false;
  std::vector<WriteStart> mWritesUnderWay;
  std::deque<WriteStart> mLateWrites;
  bool mUnloadStarted = false;
  bool mUnloadReturned = false;
  int mUnloadsRunning = 0;
  bool mFirstUnloadRunning = false;
  int mReleases = 0;
  // Queries and unloads begun so far, and before the outermost handler under way.
  int mEndsBegun = 0;
  int mEndsBeforeHandler = 0;
  // The failed calls each running end's handler has met, outermost first.
  std::vector<int> mEndFailures;
  // A query came and no end yet: Windows may send the end or the cancellation.
  bool mSessionAsked = false;
  // A query came, and neither its end, a cancellation nor the user's switch at the top since.
  bool mHeld = false;
  // Clicks given inside a query's put-back, not yet run by a tick or a click.
  bool mClicksWait = false;
  // The window's last left or right press was a left one; a press stands for a double-click.
  bool mLeftPressedLast = false;
  bool mPressStands = false;
  // A double-click came since that press: the window may keep what it made of it.
  bool mDoubleClickSincePress = false;
  // The top-level tick under way: its writes, whether an end came inside it, and whether the
  // clicks it runs last have begun.
  int mTickWrites = 0;
  bool mEndInTick = false;
  bool mTickSwitched = false;
  // The chat client closed inside the handler under way: its calls fail.
  bool mChatClosedInCall = false;
  std::map<std::wstring, int, std::less<>> mFailuresBeforeClose;
  std::vector<Event> mRunning;
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

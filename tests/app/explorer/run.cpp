#include "app/explorer/run.h"

#include <algorithm>
#include <array>
#include <functional>

#include "app/main.h"
#include "app/markup.h"
#include "app/state.h"

namespace explorer {

namespace {

using Phase = FakeChatClient::Phase;

constexpr auto kStartNames = std::to_array<std::string_view>(
    {"the chat client closed", "the chat client showing the user's text",
     "the chat client showing a track link left by an earlier run"});
static_assert(kStartNames.size() == static_cast<std::size_t>(Start::Count));

constexpr auto kWaitNames =
    std::to_array<std::string_view>({"a component whose calls return without running messages",
                                     "a component that runs messages while it waits",
                                     "a component that gives up its call on a quit message",
                                     "a component that swallows the quit message"});
static_assert(kWaitNames.size() == static_cast<std::size_t>(Waits::Count));

constexpr auto kEventNames = std::to_array<std::string_view>({
    "tick",
    "Enabled",
    "close",
    "a query of the session's end",
    "the session's end",
    "the session's end cancelled",
    "a quit message from outside",
    "a left press",
    "a right press",
    "a middle press",
    "a double-click",
    "the chat client opens",
    "the chat client closes",
    "the user types \"Busy\"",
    "the user types \"Away\"",
    "the player plays A",
    "the player plays B",
    "the player pauses",
    "the player stops",
    "the player closes",
    "the player shows no track",
    "the next creation fails",
    "the next connect request fails",
    "the next profile read fails",
    "the next mood read fails",
    "the next mood write fails",
});
static_assert(kEventNames.size() == static_cast<std::size_t>(Event::FirstNested));

// Each slot: the call it waits in, and whether it comes once the call is answered.
struct SlotCall {
  std::wstring_view call;
  bool answered;
  std::string_view name;
};
constexpr auto kSlots = std::to_array<SlotCall>({
    {L"Create", false, "the next creation"},
    {L"Connect", false, "the next connect request"},
    {L"ReadProfile", false, "the next profile read"},
    {L"ReadMood", false, "the next mood read, before it reads"},
    {L"ReadMood", true, "the next mood read, once it has read"},
    {L"WriteMood", false, "the next mood write, before it writes"},
    {L"WriteMood", true, "the next mood write, once it has written"},
});
static_assert(kSlots.size() == static_cast<std::size_t>(Slot::Count));

const std::wstring kUsersText = L"Out for lunch";
const std::wstring kOldLink = FormatPlayingMood(L"Old");
// A track with the characters that markup must carry unchanged.
const std::wstring kTrackB = L"B & <C>";
// The calls that the failure events make fail, in their order.
constexpr auto kFailingCalls = std::to_array<const wchar_t*>(
    {L"Create", L"Connect", L"ReadProfile", L"ReadMood", L"WriteMood"});
static_assert(kFailingCalls.size() == static_cast<std::size_t>(Event::FirstNested) -
                                          static_cast<std::size_t>(Event::CreateFails));
// As many attempts as each end's put-back makes: failures that outlast them excuse a lost text.
constexpr int kUnloadAttempts = 3;

// The call that a failure event makes fail.
const wchar_t* FailingCall(Event event) {
  return kFailingCalls.at(static_cast<std::size_t>(event) -
                          static_cast<std::size_t>(Event::CreateFails));
}

Event NestedMessage(Event event) {
  return kNestedEvents.at(
      static_cast<std::size_t>((static_cast<int>(event) - static_cast<int>(Event::FirstNested)) /
                               static_cast<int>(Slot::Count)));
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return narrow;
}

class StartedProgram final : public Program {
 public:
  bool IsAnotherCopyRunning() override { return false; }
  void LoadAndShowFrmMain() override {}  // the window's life is already there
};

}  // namespace

bool IsNested(Event event) {
  return event >= Event::FirstNested;
}
bool Arms(Event event) {
  return event >= Event::CreateFails;
}
Slot NestedSlot(Event event) {
  return static_cast<Slot>((static_cast<int>(event) - static_cast<int>(Event::FirstNested)) %
                           static_cast<int>(Slot::Count));
}

std::string Name(Start start) {
  return std::string(kStartNames.at(static_cast<std::size_t>(start)));
}
std::string Name(Waits waits) {
  return std::string(kWaitNames.at(static_cast<std::size_t>(waits)));
}
std::string Name(Event event) {
  if (!IsNested(event)) return std::string(kEventNames.at(static_cast<std::size_t>(event)));
  return Name(NestedMessage(event)) + " delivered in " +
         std::string(kSlots.at(static_cast<std::size_t>(NestedSlot(event))).name);
}

Run::Run(Start start, Waits waits, bool keepCalls)
    : mWaits(waits), mGhost(start == Start::OurOldMarkup ? std::optional(kOldLink) : std::nullopt) {
  mWorld.chat.keepCalls = keepCalls;
  mWorld.chat.whileWaiting = [this](std::wstring_view call, Phase phase) {
    return WhileWaiting(call, phase);
  };
  if (start != Start::ChatClosed) {
    mWorld.OpenChat();
    mWorld.chat.mood = start == Start::UsersText ? kUsersText : kOldLink;
  }
  StartedProgram program;
  Main(mWorld.live, program);
  mStarted = true;
}

bool Run::Applies(Event event) const {
  if (IsNested(event)) {
    if (mWaits == Waits::Returns || mArmed.size() >= 2) return false;
    // Two messages in one wait, in the order given; a second wait gains nothing new.
    if (!mArmed.empty() && mArmed.front().slot != NestedSlot(event)) return false;
    // The application object is created once, unless its creation failed.
    if (NestedSlot(event) == Slot::Create && mWorld.chat.liveApplications != 0) return false;
    const Event message = NestedMessage(event);
    const bool queryArmed = QueryArmed();
    switch (message) {
      case Event::Query:
        return !mSessionAsked && !queryArmed;
      case Event::End:
      case Event::Cancel:
        return (mSessionAsked || queryArmed) &&
               !(mArmed.size() == 1 && !queryArmed &&
                 (mArmed.front().message == Event::End || mArmed.front().message == Event::Cancel));
      // Typed once a read has read, the program would take a text older than the one shown
      // for the latest: typing before a read's effect and around a write covers the races.
      case Event::TypesBusy:
        return ChatRuns() && NestedSlot(event) != Slot::ReadAnswered;
      case Event::ChatCloses:
        return ChatRuns();
      default:
        return true;
    }
  }
  switch (event) {
    // Windows asks once, then tells how it ended.
    case Event::Query:
      return !mSessionAsked && !QueryArmed();
    case Event::End:
    case Event::Cancel:
      return mSessionAsked;
    case Event::DoubleClick:
      return mPressStands;
    case Event::ChatOpens:
      return !ChatRuns();
    case Event::ChatCloses:
    case Event::TypesBusy:
    case Event::TypesAway:
      return ChatRuns();
    case Event::CreateFails:
    case Event::ConnectFails:
    case Event::ProfileFails:
    case Event::ReadFails:
    case Event::WriteFails: {
      const auto failing = mWorld.chat.failNext.find(FailingCall(event));
      return failing == mWorld.chat.failNext.end() || failing->second == 0;
    }
    default:
      return true;
  }
}

void Run::Apply(Event event) {
  try {
    if (IsNested(event)) {
      mArmed.push_back({NestedMessage(event), NestedSlot(event)});
    } else {
      mSlotsReached = 0;
      mCallsReached = 0;
      ApplyNow(event);
    }
    if (mForm.released && !mQuitQueued) {
      Violate("the window is gone, but no quit message ends the program");
    }
    if (mQuitQueued) TakeQuit();
  } catch (const ProcessEnded&) {
    mRunning.clear();
  }
  if (mChatClosedInCall) {
    mChatClosedInCall = false;
    mWorld.chat.failNext = mFailuresBeforeClose;
  }
  CheckAfterEvent();
}

void Run::ApplyNow(Event event) {
  switch (event) {
    case Event::Tick:
    case Event::Enabled:
    case Event::Close:
    case Event::Query:
    case Event::End:
    case Event::Cancel:
    case Event::Quit:
    case Event::LeftPress:
    case Event::RightPress:
    case Event::MiddlePress:
    case Event::DoubleClick:
      return Deliver(event);
    case Event::ChatOpens:
      return mWorld.OpenChat();
    case Event::ChatCloses:
      // Closed inside a call, the chat client fails every call until the handler returns.
      if (!mRunning.empty() && !mChatClosedInCall) {
        mChatClosedInCall = true;
        mFailuresBeforeClose = mWorld.chat.failNext;
        for (const wchar_t* call : kFailingCalls) mWorld.chat.failNext[call] = -1;
      }
      mWorld.CloseChat();
      return mGhost.ChatClosed();
    case Event::TypesBusy:
      return Typed(L"Busy");
    case Event::TypesAway:
      return Typed(L"Away");
    case Event::PlaysA:
      mTrack = L"A";
      return ShowPlayer(Player::Plays, L"1. A - Winamp");
    case Event::PlaysB:
      mTrack = kTrackB;
      return ShowPlayer(Player::Plays, L"2. " + kTrackB + L" - Winamp");
    case Event::Pauses:
      return ShowPlayer(Player::Paused, L"1. " + mTrack + L" - Winamp [Paused]");
    case Event::Stops:
      return ShowPlayer(Player::Stopped, L"1. " + mTrack + L" - Winamp [Stopped]");
    case Event::PlayerCloses:
      mPlayer = Player::Closed;
      return mWorld.ClosePlayer();
    case Event::ShowsNoTrack:
      return ShowPlayer(Player::NoTrack, L"Winamp");
    default:
      mWorld.chat.failNext[FailingCall(event)] = 1;
      return;
  }
}

// A message, handled at once as the window handles it: from the message loop, or from a wait
// inside a call into the chat client.
void Run::Deliver(Event message) {
  // Deeper than a click and an unload inside a tick, handlers only nest when they start inside
  // each other without end.
  if (mRunning.size() > 3) return Violate("one handler at a time: handlers nest without end");
  const bool nested = !mRunning.empty();
  const int lookupsBefore = mWorld.desktop.lookups;
  const bool enabledBefore = gEnabled;
  // The program forgets the user's text when a tick finds no chat client; the next capture
  // tells it anew.
  if (message == Event::Tick && !nested && !ChatRuns()) mGhost.ChatLost();
  if (!nested && (message == Event::Tick || message == Event::Enabled)) mClicksWait = false;
  if (!nested && message == Event::Tick) {
    mTickWrites = 0;
    mEndInTick = false;
    mTickSwitched = false;
  }
  if (nested && (message == Event::Query || message == Event::Close || message == Event::End)) {
    mEndInTick = true;
  }
  if (!nested) mEndsBeforeHandler = mEndsBegun;
  mRunning.push_back(message);
  switch (message) {
    case Event::Tick:
      mLife.tmrTimer_Timer();
      break;
    case Event::Enabled:
      if (!mUnloadStarted) {
        mEnabledWanted = !mEnabledWanted;
        // The user's own switch says the session goes on; one inside a call does not.
        if (!nested) mHeld = false;
        if (nested && mRunning.front() == Event::Query) mClicksWait = true;
      }
      mLife.mnuEnabled_Click();
      break;
    case Event::Close:
    case Event::End:
      Unload(message);
      break;
    case Event::Query:
      Query();
      break;
    case Event::Cancel:
      Cancel();
      break;
    case Event::LeftPress:
      Press(kLeftButton);
      break;
    case Event::RightPress:
      Press(kRightButton);
      break;
    case Event::MiddlePress:
      Press(kMiddleButton);
      break;
    case Event::DoubleClick:
      DoubleClick();
      break;
    case Event::Quit:
      mQuitQueued = true;
      mQuitAsked = true;
      break;
    default:
      Violate("the explorer delivered an event that is no message");
      break;
  }
  mRunning.pop_back();
  // The end's handlers cannot wait: Windows may end the process as soon as they return.
  if (nested && (message == Event::Tick || message == Event::Enabled) &&
      (mWorld.desktop.lookups != lookupsBefore || gEnabled != enabledBefore)) {
    Violate("one handler at a time: a handler ran inside another's call to the chat client");
  }
}

// One of the ways out that unload the window, the message loop's quit among them.
int Run::Unload(Event message) {
  if (!mUnloadStarted) mEnabledWanted = gEnabled;  // a click still waiting is dropped
  const bool first = !mUnloadStarted;
  mUnloadStarted = true;
  ++mEndsBegun;
  mSessionAsked = false;
  mGhost.PutBackStarts();
  const bool mustRestore = ChatRuns() && mGhost.MustKeepUsersText();
  ++mUnloadsRunning;
  if (first) mFirstUnloadRunning = true;
  mEndFailures.push_back(0);
  switch (message) {
    case Event::Close:
      mLife.Form_Close();
      break;
    case Event::End:
      mLife.Form_EndSession(true);
      break;
    default:
      mLife.QuitTaken();
      break;
  }
  const int failures = mEndFailures.back();
  mEndFailures.pop_back();
  --mUnloadsRunning;
  if (first) {
    mFirstUnloadRunning = false;
    if (mReleases == 0) Violate("the first unload returned, but the window was not released");
  }
  mUnloadReturned = true;
  CheckAtEndsReturn(mustRestore, failures, "when the unload returns");
  if (message == Event::End) EndProcess("when the end of the session returns", failures);
  return failures;
}

// Windows asks whether the session may end: the user's text is back when the answer is.
void Run::Query() {
  mSessionAsked = true;
  ++mEndsBegun;
  if (!mUnloadStarted) mHeld = true;
  mGhost.PutBackStarts();
  const bool mustRestore = ChatRuns() && mGhost.MustKeepUsersText();
  mEndFailures.push_back(0);
  if (!mLife.Form_QueryEndSession()) Violate("the end of the session was refused");
  const int failures = mEndFailures.back();
  mEndFailures.pop_back();
  CheckAtEndsReturn(mustRestore, failures, "when the query of the session's end returns");
}

// Another program refused to end the session: the program goes on.
void Run::Cancel() {
  const int callsBefore = mCalls;
  mSessionAsked = false;
  mHeld = false;
  mLife.Form_EndSession(false);
  if (mCalls != callsBefore) Violate("a cancelled end of the session made a call");
}

void Run::Press(std::int16_t button) {
  if (button != kMiddleButton) {
    mLeftPressedLast = button == kLeftButton;
    mDoubleClickSincePress = false;
  }
  mPressStands = true;
  mLife.Form_MouseDown(button);
}

// Windows reports the second press of a double-click as the double-click alone.
void Run::DoubleClick() {
  mPressStands = false;
  mDoubleClickSincePress = true;
  if (mLeftPressedLast && !mUnloadStarted) {
    mEnabledWanted = !mEnabledWanted;
    if (mRunning.size() == 1) mHeld = false;
  }
  mLife.Form_DblClick();
}

void Run::Released() {
  ++mReleases;
  if (mReleases > 1) return Violate("the window was released twice");
  if (!mFirstUnloadRunning || mUnloadsRunning != 1) {
    return Violate("the window was released by another than the first unload");
  }
  if (!mForm.cleared) Violate("the window was released before the unload put the user's text back");
}

// Where the process may end, only failures that outlast the handler's attempts excuse a lost
// text.
void Run::CheckAtEndsReturn(bool mustRestore, int failures, const std::string& where) {
  if (mustRestore && ChatRuns() && !mChatClosedInCall && failures < kUnloadAttempts) {
    CheckUsersTextShown(where);
  }
}

// The message loop takes the quit message and ends: the process ends with it.
void Run::TakeQuit() {
  if (!mUnloadStarted && !mQuitAsked) Violate("the program ended though nothing asked it to");
  mQuitQueued = false;
  mRunning.push_back(Event::Quit);
  const int failures = Unload(Event::Quit);
  mRunning.pop_back();
  EndProcess("when the message loop ends", failures);
}

void Run::EndProcess(const char* where, int failures) {
  // The chat client carries out what was given up on, whether the program runs or not.
  mWorld.chat.Land();
  if (mUnloadStarted) CheckAtEndsReturn(mGhost.MustKeepUsersText(), failures, where);
  mEnded = true;
  throw ProcessEnded{};
}

bool Run::WhileWaiting(std::wstring_view call, Phase phase) {
  if (phase == Phase::Landed) {
    const WriteStart start = mLateWrites.front();
    mLateWrites.pop_front();
    Written(start);
    return false;
  }
  const bool answered = phase != Phase::Waiting;
  if (!answered) {
    ++mCalls;
    if (!ChatRuns() && !mChatClosedInCall) {
      Violate("a call into the chat client while its window is absent");
    }
    if (call == L"ReadMood") mCaptureUnderWay = !mGhost.KnowsUsersText();
    if (call == L"WriteMood") {
      if (mStarted && !mGhost.ReadSinceFound()) {
        Violate(
            "a write while the user's text is not known: not read since the chat client "
            "was found");
      }
      const bool byEnd = std::ranges::any_of(mRunning, [](Event handler) {
        return handler == Event::Query || handler == Event::Close || handler == Event::End ||
               handler == Event::Quit;
      });
      if (byEnd && !mForm.blocked && !mForm.released &&
          std::ranges::any_of(mRunning, [](Event handler) {
            return handler == Event::Query || handler == Event::End;
          })) {
        Violate("a put-back at the session's end ran without the reason that Windows shows");
      }
      if (!mRunning.empty() && mRunning.back() == Event::Tick && !mTickSwitched &&
          ++mTickWrites > 1 && !mEndInTick) {
        Violate("a tick wrote twice");
      }
      mWritesUnderWay.push_back({gEnabled, mUnloadReturned, mHeld, byEnd, mEndsBeforeHandler});
    }
  } else {
    if (phase == Phase::Failed) {
      for (int& failures : mEndFailures) ++failures;
    }
    if (call == L"WriteMood") {
      const WriteStart start = mWritesUnderWay.back();
      mWritesUnderWay.pop_back();
      if (phase == Phase::Succeeded) Written(start);
    }
  }
  // The program takes what was read once the call returns to it, with the text of its effect.
  const bool read = call == L"ReadMood" && phase == Phase::Succeeded;
  const std::wstring live = read ? mWorld.chat.mood : std::wstring();
  const bool givenUp = RunMessages(call, answered);
  if (read && !givenUp) mGhost.Read(live, mCaptureUnderWay, mStarted && gEnabled);
  // A call not given up while it waits meets its failure, if one is armed.
  if (!answered && !givenUp) {
    for (std::size_t kind = 0; kind < kFailingCalls.size(); ++kind) {
      if (call == kFailingCalls.at(kind)) mCallsReached |= 1U << kind;
    }
  }
  return givenUp;
}

// What the component's wait runs; true when it gives up the call.
bool Run::RunMessages(std::wstring_view call, bool answered) {
  // Nothing runs messages before the window is there, or in a component that does not.
  if (!mStarted || mWaits == Waits::Returns) return false;
  if (QuitGivesUpCall(call, answered)) return true;
  // The timer may fire in any wait while it runs; a tick must not start inside another handler.
  if (mForm.timerRunning) Deliver(Event::Tick);
  for (std::size_t slot = 0; slot < kSlots.size(); ++slot) {
    if (kSlots.at(slot).call == call && kSlots.at(slot).answered == answered) {
      mSlotsReached |= 1U << slot;
    }
  }
  std::vector<Event> due;
  std::erase_if(mArmed, [&](const Armed& armed) {
    const SlotCall& slot = kSlots.at(static_cast<std::size_t>(armed.slot));
    if (slot.call != call || slot.answered != answered) return false;
    due.push_back(armed.message);
    return true;
  });
  for (const Event event : due) ApplyNow(event);
  return QuitGivesUpCall(call, answered);
}

// A quit message queued while the component waits: it takes it, and either drops it or gives
// up the call, leaving it queued. A write given up before its effect lands later.
bool Run::QuitGivesUpCall(std::wstring_view call, bool answered) {
  if (!mQuitQueued || mWaits == Waits::Pumps) return false;
  if (mWaits == Waits::Swallows) {
    mQuitQueued = false;
    return false;
  }
  for (int& failures : mEndFailures) ++failures;
  if (call == L"WriteMood" && !answered) {
    mLateWrites.push_back(mWritesUnderWay.back());
    mWritesUnderWay.pop_back();
  }
  return true;
}

// Switching off puts the user's text back at once.
void Run::SwitchedOff() {
  mGhost.SwitchedOff();
  mSwitchOffMustRestore = mSwitchOffMustRestore || (ChatRuns() && !CallsMayFail());
}

void Run::Written(WriteStart start) {
  const std::wstring& text = mWorld.chat.mood;
  const bool markup = IsOwnMarkup(text);
  if (markup && !start.enabled) Violate("switched off, a text of ours was written");
  if (markup && start.afterUnload) Violate("a text of ours was written after an unload returned");
  if (markup && start.held) Violate("a text of ours was written between the query and the end");
  if (start.enabled && !start.byEnd && start.endsBegun == mEndsBegun && !mUnloadStarted &&
      mGhost.LastWritten() == text) {
    Violate("switched on, a text was written that does not differ from the last one written");
  }
  mGhost.Written(text);
  // Overtaken by an end, the program cannot tell which of the two landed last.
  if (start.endsBegun != mEndsBegun) mGhost.ForgetLastWritten();
}

void Run::Typed(const std::wstring& text) {
  mGhost.Typed(mWorld.chat.mood, text, gEnabled, !mRunning.empty());
  mWorld.chat.mood = text;
}

void Run::ShowPlayer(Player player, const std::wstring& caption) {
  mPlayer = player;
  mWorld.Show(caption);
}

void Run::CheckAfterEvent() {
  if (!gInitialMoodKnown && !gInitialMood.empty()) Violate("a saved text that is not known");
  if (IsOwnMarkup(gInitialMood)) Violate("our markup was saved as the user's text");
  const std::wstring& current = mLife.Sync().CurrentMood();
  if (!current.empty() && !(gInitialMoodKnown && IsOwnMarkup(current))) {
    Violate("the text last written is recorded as ours, but is not our markup");
  }
  if (gEnabled != mEnabledWanted && !mClicksWait) {
    Violate(mUnloadStarted ? "a command ran after the unload" : "a command was lost");
  }
  if (mForm.checked != gEnabled) Violate("the check mark does not show the switch");
  if (mSwitchOffMustRestore && !mUnloadStarted && ChatRuns()) {
    CheckUsersTextShown("after a switch-off");
  }
  mSwitchOffMustRestore = false;
}

// Held between a query and its end, the program shows the user's text, for as long as it lasts.
bool Run::Quiet() const {
  if (mEnded || !ChatRuns() || CallsMayFail() || !mArmed.empty()) return false;
  if (WantedMarkup() && !(mHeld && gEnabled)) return gEnabled;
  return mGhost.KnowsUsersText();
}

void Run::CheckSettles() {
  Apply(Event::Tick);
  Apply(Event::Tick);
  if (gEnabled && WantedMarkup() && !mHeld) return CheckTrackShown();
  CheckUsersTextShown("within two ticks of a quiet point");
}

void Run::CheckUsersTextShown(const std::string& when) {
  if (mGhost.IsUsersText(mWorld.chat.mood)) return;
  Violate(when + ", the chat client shows \"" + Narrow(mWorld.chat.mood) +
          "\", not the user's latest own text \"" + Narrow(mGhost.UsersText()) + "\"");
}

void Run::CheckTrackShown() {
  const std::wstring wanted = *WantedMarkup();
  if (mGhost.ShowsTrack(mWorld.chat.mood, wanted)) return;
  Violate("switched on, within two ticks of a quiet point the chat client shows \"" +
          Narrow(mWorld.chat.mood) + "\", not the track's \"" + Narrow(wanted) + "\"");
}

std::optional<std::wstring> Run::WantedMarkup() const {
  if (mPlayer == Player::Plays) return FormatPlayingMood(mTrack);
  if (mPlayer == Player::Paused) return FormatPausedMood(FormatPlayingMood(mTrack));
  return std::nullopt;
}

// A failure is due, or a quit message waits that the component would give up its calls for.
bool Run::CallsMayFail() const {
  for (const auto& [call, count] : mWorld.chat.failNext) {
    if (count != 0) return true;
  }
  return mQuitQueued && mWaits == Waits::Abandons;
}

bool Run::Undelivered() const {
  return !mArmed.empty() || std::ranges::any_of(mWorld.chat.failNext, [](const auto& failing) {
    return failing.second > 0;
  });
}

bool Run::QueryArmed() const {
  return std::ranges::any_of(mArmed,
                             [](const Armed& armed) { return armed.message == Event::Query; });
}

bool Run::ChatRuns() const {
  return mWorld.desktop.windows.contains(kChatClass);
}

std::string Run::CallLog() const {
  std::string log;
  for (const std::wstring& call : mWorld.chat.calls) log += ' ' + Narrow(call);
  return log;
}

void Run::Violate(const std::string& rule) {
  if (mViolation.empty()) mViolation = rule;
}

// What is left out, and why: states are taken between events, when the outermost handler has
// returned (or the process has ended, and nothing more is explored).
//   - Counted only within one event, or between events always as they start: the desktop's
//     lookup and caption counts, mCalls, mRunning, mUnloadsRunning, mFirstUnloadRunning,
//     mEndFailures, mEndsBegun and mEndsBeforeHandler (compared only within one handler),
//     mCaptureUnderWay (set as each read starts), mWritesUnderWay (each write is answered or
//     given up within its call), the tick's mTickWrites, mEndInTick and mTickSwitched (reset as
//     each tick starts), mChatClosedInCall and mFailuresBeforeClose (undone as the event ends),
//     mSwitchOffMustRestore (checked and cleared after each event), mStarted (true once Main has
//     returned), the synchroniser's running handler and pending clicks (every click runs or is
//     dropped before the outermost handler returns, except after a query, which mClicksWait
//     tells), and mForm.blocked and mForm.cleared (set only while an end runs, which ends the
//     process).
//   - One fact already mixed in: the timer stops and mUnloadReturned is set exactly when
//     mUnloadStarted is; mLateWrites pairs with the chat client's late moods, which land or end
//     the process within the event that gave them up; the player's window and caption follow
//     from mPlayer and mTrack; the chat client's live profiles die with the call that made them;
//     FormMouse's state follows the mouse's messages since the last left or right press, which
//     mLeftPressedLast and mDoubleClickSincePress tell.
//   - Never changes in a run: the registry and the component's settings (the call log, the
//     wait's callback).
//   - A run that broke a rule is not explored further: mViolation.
std::uint64_t Run::Hash() const {
  std::uint64_t hash = 0;
  const auto mix = [&hash](std::uint64_t value) { Mix(hash, value); };
  const std::hash<std::wstring> text;
  mix(static_cast<std::uint64_t>(mWaits));
  mix(mEnded);
  mix(text(gInitialMood));
  mix(gInitialMoodKnown);
  mix(gEnabled);
  mix(text(mLife.Sync().CurrentMood()));
  mix(mLife.Sync().LeftOverUnread());
  mix(mForm.checked);
  mix(mForm.released);
  mix(ChatRuns());
  mix(text(mWorld.chat.mood));
  for (const std::wstring& late : mWorld.chat.lateMoods) mix(text(late));
  // A call kind whose failures are spent behaves as one that never had any.
  for (const auto& [call, count] : mWorld.chat.failNext) {
    if (count != 0) mix(text(call) + static_cast<unsigned>(count));
  }
  mix(static_cast<std::uint64_t>(mWorld.chat.liveApplications));
  mix(static_cast<std::uint64_t>(mPlayer));
  mix(text(mTrack));
  for (const Armed& armed : mArmed) {
    mix(1U + static_cast<unsigned>(armed.message) * 16U + static_cast<unsigned>(armed.slot));
  }
  mix(mQuitQueued);
  mix(mQuitAsked);
  mix(mUnloadStarted);
  mix(static_cast<std::uint64_t>(mLife.Now()));
  mix(mSessionAsked);
  mix(mHeld);
  mix(mClicksWait);
  mix(mLeftPressedLast);
  mix(mPressStands);
  mix(mDoubleClickSincePress);
  mix(static_cast<std::uint64_t>(mReleases));
  mix(mGhost.Hash());
  mix(mEnabledWanted);
  return hash;
}

}  // namespace explorer

#include "app/explorer/run.h"

#include <array>
#include <functional>

#include "app/main.h"
#include "app/markup.h"
#include "app/state.h"

namespace explorer {

namespace {

using Phase = FakeChatClient::Phase;

constexpr std::array<std::string_view, static_cast<std::size_t>(Start::Count)> kStartNames = {
    "the chat client closed", "the chat client showing the user's text",
    "the chat client showing a track link left by an earlier run"};

constexpr std::array<std::string_view, static_cast<std::size_t>(Waits::Count)> kWaitNames = {
    "a component whose calls return without running messages",
    "a component that runs messages while it waits",
    "a component that gives up its call on a quit message",
    "a component that swallows the quit message"};

constexpr std::array<std::string_view, static_cast<std::size_t>(Event::FirstNested)> kEventNames = {
    "tick",
    "Enabled",
    "close",
    "log-off",
    "log-off cancelled",
    "a quit message from outside",
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
    "the next mood write fails"};

constexpr std::array<std::string_view, static_cast<std::size_t>(Nested::Count)> kNestedNames = {
    "Enabled", "a close", "a log-off", "a cancelled log-off", "a quit message"};

// Each slot: the call it waits in, and whether it comes once the call is answered.
struct SlotCall {
  std::wstring_view call;
  bool answered;
  std::string_view name;
};
constexpr std::array<SlotCall, static_cast<std::size_t>(Slot::Count)> kSlots = {{
    {L"Create", false, "the next creation"},
    {L"Connect", false, "the next connect request"},
    {L"ReadProfile", false, "the next profile read"},
    {L"ReadMood", false, "the next mood read, before it reads"},
    {L"ReadMood", true, "the next mood read, once it has read"},
    {L"WriteMood", false, "the next mood write, before it writes"},
    {L"WriteMood", true, "the next mood write, once it has written"},
}};

const std::wstring kUsersText = L"Out for lunch";
const std::wstring kOldLink = FormatPlayingMood(L"Old");
// A track with the characters that markup must carry unchanged.
const std::wstring kTrackB = L"B & <C>";
constexpr std::array<const wchar_t*, 5> kFailingCalls = {L"Create", L"Connect", L"ReadProfile",
                                                         L"ReadMood", L"WriteMood"};
// As many attempts as the unload makes: failures that outlast them excuse a lost text.
constexpr int kUnloadAttempts = 3;

// The call that a failure event makes fail.
const wchar_t* FailingCall(Event event) {
  return kFailingCalls.at(static_cast<std::size_t>(event) -
                          static_cast<std::size_t>(Event::CreateFails));
}

bool IsNested(Event event) {
  return event >= Event::FirstNested;
}
Nested NestedMessage(Event event) {
  return static_cast<Nested>((static_cast<int>(event) - static_cast<int>(Event::FirstNested)) /
                             static_cast<int>(Slot::Count));
}
Slot NestedSlot(Event event) {
  return static_cast<Slot>((static_cast<int>(event) - static_cast<int>(Event::FirstNested)) %
                           static_cast<int>(Slot::Count));
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

std::string Name(Start start) {
  return std::string(kStartNames.at(static_cast<std::size_t>(start)));
}
std::string Name(Waits waits) {
  return std::string(kWaitNames.at(static_cast<std::size_t>(waits)));
}
std::string Name(Event event) {
  if (!IsNested(event)) return std::string(kEventNames.at(static_cast<std::size_t>(event)));
  return std::string(kNestedNames.at(static_cast<std::size_t>(NestedMessage(event)))) +
         " delivered in " +
         std::string(kSlots.at(static_cast<std::size_t>(NestedSlot(event))).name);
}

Run::Run(Start start, Waits waits, bool keepCalls) : mWaits(waits) {
  mWorld.chat.keepCalls = keepCalls;
  mWorld.chat.whileWaiting = [this](std::wstring_view call, Phase phase) {
    return WhileWaiting(call, phase);
  };
  if (start != Start::ChatClosed) {
    mWorld.OpenChat();
    mWorld.chat.mood = start == Start::UsersText ? kUsersText : kOldLink;
  }
  mOldLinkStands = start == Start::OurOldMarkup;
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
    return NestedSlot(event) != Slot::Create || mWorld.chat.liveApplications == 0;
  }
  switch (event) {
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
      ApplyNow(event);
    }
    if (mForm.released && !mQuitQueued) {
      Violate("the window is gone, but no quit message ends the program");
    }
    if (mQuitQueued) TakeQuit();
  } catch (const ProcessEnded&) {
    mHandlersRunning = 0;
  }
  CheckAfterEvent();
}

void Run::ApplyNow(Event event) {
  switch (event) {
    case Event::Tick:
      return Deliver(Handler::Tick);
    case Event::Enabled:
      return Deliver(Handler::Enabled);
    case Event::Close:
      return Deliver(Handler::Close);
    case Event::LogOff:
      return Deliver(Handler::LogOff);
    case Event::LogOffCancelled:
      return Deliver(Handler::LogOffCancelled);
    case Event::Quit:
      return Deliver(Handler::Quit);
    case Event::ChatOpens:
      return mWorld.OpenChat();
    case Event::ChatCloses:
      mWorld.CloseChat();
      mLastWritten.reset();  // a chat client started again is written afresh
      return;
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
void Run::Deliver(Handler handler) {
  // Deeper than a click and an unload inside a tick, handlers only nest when they start inside
  // each other without end.
  if (mHandlersRunning > 3) return Violate("one handler at a time: handlers nest without end");
  const bool nested = mHandlersRunning > 0;
  const int lookupsBefore = mWorld.desktop.lookups;
  const bool enabledBefore = gEnabled;
  // The program forgets the user's text when a tick finds no chat client; the next capture
  // tells it anew.
  if (handler == Handler::Tick && !nested && !ChatRuns()) {
    mUsersText.reset();
    mReadSinceFound = false;
  }
  ++mHandlersRunning;
  switch (handler) {
    case Handler::Tick:
      mLife.tmrTimer_Timer();
      break;
    case Handler::Enabled:
      if (!mUnloadStarted) mEnabledWanted = !mEnabledWanted;
      mLife.mnuEnabled_Click();
      break;
    case Handler::Close:
    case Handler::LogOff:
      Unload(handler);
      break;
    case Handler::LogOffCancelled:
      CancelledLogOff();
      break;
    case Handler::Quit:
      mQuitQueued = true;
      mQuitAsked = true;
      break;
  }
  --mHandlersRunning;
  // The unload cannot wait: the end of the session may end the process as soon as it returns.
  if (nested && (handler == Handler::Tick || handler == Handler::Enabled) &&
      (mWorld.desktop.lookups != lookupsBefore || gEnabled != enabledBefore)) {
    Violate("one handler at a time: a handler ran inside another's call to the chat client");
  }
}

// One of the ways out that unload the window, the message loop's quit among them.
void Run::Unload(Handler handler) {
  if (!mUnloadStarted) mEnabledWanted = gEnabled;  // a click still waiting is dropped
  mUnloadStarted = true;
  if (mTyped) mUndecided = true;
  const bool mustRestore = ChatRuns() && mUsersText && mReadSinceFound;
  ++mUnloadsRunning;
  switch (handler) {
    case Handler::Close:
      mLife.Form_Close();
      break;
    case Handler::LogOff:
      if (!mLife.Form_QueryEndSession()) Violate("the end of the session was refused");
      mLife.Form_EndSession(true);
      break;
    default:
      mLife.QuitTaken();
      break;
  }
  --mUnloadsRunning;
  mUnloadReturned = true;
  if (mustRestore) CheckUsersTextAtEnd("when the unload returns");
  if (handler == Handler::LogOff) EndProcess("when the end of the session returns");
}

// Another program cancelled the end of the session: the program goes on as before.
void Run::CancelledLogOff() {
  const std::uint64_t before = Hash();
  const int callsBefore = mCalls;
  const bool blockedBefore = mForm.blocked;
  if (!mLife.Form_QueryEndSession()) Violate("the end of the session was refused");
  mLife.Form_EndSession(false);
  if (Hash() != before || mCalls != callsBefore || mForm.blocked != blockedBefore) {
    Violate("a cancelled log-off changed what the program does");
  }
}

// The message loop takes the quit message and ends: the process ends with it.
void Run::TakeQuit() {
  if (!mUnloadStarted && !mQuitAsked) Violate("the program ended though nothing asked it to");
  mQuitQueued = false;
  Unload(Handler::Quit);
  EndProcess("when the message loop ends");
}

void Run::EndProcess(const char* where) {
  // The chat client carries out what was given up on, whether the program runs or not.
  mWorld.chat.Land();
  if (ChatRuns() && mUsersText && mReadSinceFound && mUnloadStarted) CheckUsersTextAtEnd(where);
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
    if (!ChatRuns()) Violate("a call into the chat client while its window is absent");
    if (call == L"ReadMood") mCaptureUnderWay = !mUsersText;
    if (call == L"WriteMood") {
      if (mStarted && !mReadSinceFound) {
        Violate(
            "a write while the user's text is not known: not read since the chat client "
            "was found");
      }
      mWritesUnderWay.push_back({gEnabled, mUnloadReturned});
    }
  } else {
    if (phase == Phase::Failed && mUnloadsRunning > 0) ++mUnloadFailures;
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
  if (read && !givenUp) Read(live);
  return givenUp;
}

// What the component's wait runs; true when it gives up the call.
bool Run::RunMessages(std::wstring_view call, bool answered) {
  // Nothing runs messages before the window is there, or in a component that does not.
  if (!mStarted || mWaits == Waits::Returns) return false;
  if (QuitGivesUpCall(call, answered)) return true;
  // The timer may fire in any wait while it runs; a tick must not start inside another handler.
  if (mForm.timerRunning) Deliver(Handler::Tick);
  std::vector<Nested> due;
  std::erase_if(mArmed, [&](const Armed& armed) {
    const SlotCall& slot = kSlots.at(static_cast<std::size_t>(armed.slot));
    if (slot.call != call || slot.answered != answered) return false;
    due.push_back(armed.message);
    return true;
  });
  for (const Nested message : due) Deliver(static_cast<Handler>(static_cast<int>(message) + 1));
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
  if (mUnloadsRunning > 0) ++mUnloadFailures;
  if (call == L"WriteMood" && !answered) {
    mLateWrites.push_back(mWritesUnderWay.back());
    mWritesUnderWay.pop_back();
  }
  return true;
}

// Switching off puts the user's text back at once.
void Run::SwitchedOff() {
  if (mTyped) mUndecided = true;
  mLeftOver = mOursShown;
  mSwitchOffMustRestore = mSwitchOffMustRestore || (ChatRuns() && !CallsMayFail());
}

// A capture reads the user's text; our markup there is nobody's text.
void Run::Read(const std::wstring& live) {
  mReadSinceFound = true;
  // A text of ours left over that the user replaced is gone: the program counts it so too.
  if (mLeftOver && !IsOwnMarkup(live)) mOursShown = false;
  if (gEnabled) mLeftOver = false;
  if (mCaptureUnderWay) {
    mUsersText = IsOwnMarkup(live) ? std::wstring() : live;
    // A tick's capture takes a link of ours for shown by us, left over while switched off; the
    // start's leaves it standing.
    mOursShown = mStarted && IsOwnMarkup(live);
    mLeftOver = mOursShown && !gEnabled;
    mUndecided = false;
    mTyped.reset();
  } else if (mUndecided && live == mTyped) {
    mUsersText = live;
    mOursShown = false;
    mUndecided = false;
    mTyped.reset();
    mLastWritten.reset();  // the user's text replaced ours: showing the track again is a change
  } else if (mTyped == mUsersText) {
    mTyped.reset();  // read, it is the program's to keep now
  }
}

void Run::Written(WriteStart start) {
  const std::wstring& text = mWorld.chat.mood;
  const bool markup = IsOwnMarkup(text);
  if (markup && !start.enabled) Violate("switched off, a text of ours was written");
  if (markup && start.afterUnload) Violate("a text of ours was written after an unload returned");
  if (start.enabled && !mUnloadStarted && mLastWritten == text) {
    Violate("switched on, a text was written that does not differ from the last one written");
  }
  mLastWritten = text;
  mOursShown = markup;
  mOldLinkStands = false;
  mLeftOver = false;
  mTypedOver.reset();
  if (!markup && mUndecided) {
    mUsersText = text;
    mUndecided = false;
  }
  mTyped.reset();
}

// Typed over a track that we show while switched on, the text is not the user's to keep: the
// saved one comes back when the track ends. Anywhere else it is.
void Run::Typed(const std::wstring& text) {
  const std::wstring over = mWorld.chat.mood;
  mWorld.chat.mood = text;
  mTyped = text;
  mOldLinkStands = false;
  mLastWritten.reset();  // the user's text replaced ours: showing the track again is a change
  if (mOursShown && gEnabled && !mLeftOver) {
    if (!mTypedOver) mTypedOver = over;
    return;
  }
  mUsersText = text;
  mOursShown = false;
  mLeftOver = false;
  mTypedOver.reset();
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
  if (gEnabled != mEnabledWanted) {
    Violate(mUnloadStarted ? "a command ran after the unload" : "a command was lost");
  }
  if (mForm.checked != gEnabled) Violate("the check mark does not show the switch");
  if (mSwitchOffMustRestore && !mUnloadStarted) CheckUsersTextShown("after a switch-off");
  mSwitchOffMustRestore = false;
}

bool Run::Quiet() const {
  if (mEnded || !ChatRuns() || CallsMayFail() || !mArmed.empty()) return false;
  return WantedMarkup() ? gEnabled : mUsersText.has_value();
}

void Run::CheckSettles() {
  Apply(Event::Tick);
  Apply(Event::Tick);
  if (gEnabled && WantedMarkup()) return CheckTrackShown();
  CheckUsersTextShown("within two ticks of a quiet point");
}

// Where the process may end, only failures that outlast the unload's attempts excuse a lost text.
void Run::CheckUsersTextAtEnd(const std::string& where) {
  if (mUnloadFailures < kUnloadAttempts) CheckUsersTextShown(where);
}

void Run::CheckUsersTextShown(const std::string& when) {
  // A link an earlier run left is what a capture saves as "": nobody's text.
  const std::wstring shown =
      mOldLinkStands && mWorld.chat.mood == kOldLink ? std::wstring() : mWorld.chat.mood;
  if (!mUsersText || !mReadSinceFound || shown == *mUsersText || (mUndecided && shown == mTyped))
    return;
  Violate(when + ", the chat client shows \"" + Narrow(mWorld.chat.mood) +
          "\", not the user's latest own text \"" + Narrow(*mUsersText) + "\"");
}

void Run::CheckTrackShown() {
  const std::wstring wanted = *WantedMarkup();
  if (mWorld.chat.mood == wanted || mTypedOver == wanted) return;
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

std::uint64_t Run::Hash() const {
  std::uint64_t hash = 0;
  const auto mix = [&hash](std::uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6U) + (hash >> 2U);
  };
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
  mix(static_cast<std::uint64_t>(std::min(mUnloadFailures, kUnloadAttempts)));
  mix(mUsersText ? text(*mUsersText) : 1U);
  mix(mReadSinceFound);
  mix(mTyped ? text(*mTyped) : 1U);
  mix(mTypedOver ? text(*mTypedOver) : 1U);
  mix(mOursShown);
  mix(mOldLinkStands);
  mix(mLeftOver);
  mix(mUndecided);
  mix(mEnabledWanted);
  mix(mLastWritten ? text(*mLastWritten) : 1U);
  return hash;
}

}  // namespace explorer

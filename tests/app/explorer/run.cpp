#include "app/explorer/run.h"

#include <array>
#include <functional>

#include "app/main.h"
#include "app/markup.h"
#include "app/state.h"

namespace explorer {

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(Start::Count)> kStartNames = {
    "the chat client closed", "the chat client showing the user's text",
    "the chat client showing a track link left by an earlier run"};

constexpr std::array<std::string_view, static_cast<std::size_t>(Event::Count)> kEventNames = {
    "tick",
    "Enabled",
    "close",
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
    "the next mood read fails",
    "the next mood write fails",
    "the next connect request fails",
    "the next profile read fails",
    "the next creation fails",
    "Enabled delivered while the next chat call waits",
    "a close delivered while the next chat call waits",
    "Enabled delivered when the next chat call is answered",
    "a close delivered when the next chat call is answered"};

const std::wstring kUsersText = L"Out for lunch";
// A track with the characters that markup must carry unchanged.
const std::wstring kTrackB = L"B & <C>";
constexpr std::array<const wchar_t*, 5> kFailingCalls = {L"ReadMood", L"WriteMood", L"Connect",
                                                         L"ReadProfile", L"Create"};

// The call that a failure event makes fail.
const wchar_t* FailingCall(Event event) {
  return kFailingCalls.at(static_cast<std::size_t>(event) -
                          static_cast<std::size_t>(Event::ReadFails));
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return narrow;
}

class StartedProgram final : public Program {
 public:
  bool IsAnotherCopyRunning() override { return false; }
  void LoadAndShowFrmMain() override {}  // the window's synchroniser is already there
};

}  // namespace

std::string_view Name(Start start) {
  return kStartNames.at(static_cast<std::size_t>(start));
}
std::string_view Name(Event event) {
  return kEventNames.at(static_cast<std::size_t>(event));
}

Run::Run(Start start, bool keepCalls) {
  mWorld.chat.keepCalls = keepCalls;
  mWorld.chat.whileWaiting = [this](std::wstring_view call, FakeChatClient::Phase phase) {
    WhileWaiting(call, phase);
  };
  if (start != Start::ChatClosed) {
    mWorld.OpenChat();
    mWorld.chat.mood = start == Start::UsersText ? kUsersText : FormatPlayingMood(L"Old");
  }
  StartedProgram program;
  Main(mWorld.live, program);
}

bool Run::Applies(Event event) const {
  switch (event) {
    case Event::Tick:
    case Event::Enabled:
    case Event::Close:
      return !mClosed;
    case Event::ChatOpens:
      return !ChatRuns();
    case Event::ChatCloses:
    case Event::TypesBusy:
    case Event::TypesAway:
      return ChatRuns();
    case Event::ReadFails:
    case Event::WriteFails:
    case Event::ConnectFails:
    case Event::ProfileFails:
    case Event::CreateFails: {
      const auto failing = mWorld.chat.failNext.find(FailingCall(event));
      return failing == mWorld.chat.failNext.end() || failing->second == 0;
    }
    case Event::EnabledWhileWaiting:
    case Event::CloseWhileWaiting:
    case Event::EnabledWhenAnswered:
    case Event::CloseWhenAnswered:
      return mArmed.size() < 2;
    default:
      return true;
  }
}

void Run::Apply(Event event) {
  switch (event) {
    case Event::Tick:
      Deliver(Handler::Tick);
      break;
    case Event::Enabled:
      Deliver(Handler::Enabled);
      break;
    case Event::Close:
      Deliver(Handler::Close);
      break;
    case Event::ChatOpens:
      mWorld.OpenChat();
      break;
    case Event::ChatCloses:
      mWorld.CloseChat();
      mLastWritten.reset();  // a chat client started again is written afresh
      break;
    case Event::TypesBusy:
      Typed(L"Busy");
      break;
    case Event::TypesAway:
      Typed(L"Away");
      break;
    case Event::PlaysA:
      mTrack = L"A";
      ShowPlayer(Player::Plays, L"1. A - Winamp");
      break;
    case Event::PlaysB:
      mTrack = kTrackB;
      ShowPlayer(Player::Plays, L"2. " + kTrackB + L" - Winamp");
      break;
    case Event::Pauses:
      ShowPlayer(Player::Paused, L"1. " + mTrack + L" - Winamp [Paused]");
      break;
    case Event::Stops:
      ShowPlayer(Player::Stopped, L"1. " + mTrack + L" - Winamp [Stopped]");
      break;
    case Event::PlayerCloses:
      mPlayer = Player::Closed;
      mWorld.ClosePlayer();
      break;
    case Event::ShowsNoTrack:
      ShowPlayer(Player::NoTrack, L"Winamp");
      break;
    case Event::ReadFails:
    case Event::WriteFails:
    case Event::ConnectFails:
    case Event::ProfileFails:
    case Event::CreateFails:
      mWorld.chat.failNext[FailingCall(event)] = 1;
      break;
    case Event::EnabledWhileWaiting:
    case Event::CloseWhileWaiting:
    case Event::EnabledWhenAnswered:
    case Event::CloseWhenAnswered:
      mArmed.push_back({event == Event::EnabledWhileWaiting || event == Event::EnabledWhenAnswered
                            ? Handler::Enabled
                            : Handler::Close,
                        event == Event::EnabledWhenAnswered || event == Event::CloseWhenAnswered});
      break;
    case Event::Count:
      break;
  }
  CheckAfterEvent();
}

// A handler, run at once as the window runs it: from the message loop, or from a wait inside a
// call into the chat client.
void Run::Deliver(Handler handler) {
  // Deeper than a click and a close inside a tick, handlers only nest when they start inside
  // each other without end.
  if (mHandlersRunning > 3) return Violate("one handler at a time: handlers nest without end");
  const bool nested = mHandlersRunning > 0;
  const int lookupsBefore = mWorld.desktop.lookups;
  const bool enabledBefore = gEnabled;
  if (handler == Handler::Close && mTyped) mUndecided = true;
  // The program forgets the user's text when a tick finds no chat client; the next capture
  // tells it anew.
  if (handler == Handler::Tick && !nested && !ChatRuns()) mUsersText.reset();
  ++mHandlersRunning;
  switch (handler) {
    case Handler::Tick:
      mSync.tmrTimer_Timer();
      break;
    case Handler::Enabled:
      if (!mCloseStarted) mEnabledWanted = !mEnabledWanted;
      mSync.mnuEnabled_Click();
      break;
    case Handler::Close: {
      if (!mCloseStarted) mEnabledWanted = gEnabled;  // a click still waiting is dropped
      mCloseStarted = true;
      const bool mustRestore = ChatRuns() && !FailurePending() && mUsersText.has_value();
      mCloseMustRestore = mCloseMustRestore || mustRestore;
      mSync.Form_Unload();
      mCloseReturned = true;
      // The process may end the moment the close returns: at the end of the session it does.
      if (mustRestore) CheckUsersTextShown("when the close returns");
      break;
    }
  }
  --mHandlersRunning;
  // The close cannot wait: the end of the session may end the process as soon as it returns.
  if (nested && handler != Handler::Close &&
      (mWorld.desktop.lookups != lookupsBefore || gEnabled != enabledBefore)) {
    Violate("one handler at a time: a handler ran inside another's call to the chat client");
  }
}

void Run::WhileWaiting(std::wstring_view call, FakeChatClient::Phase phase) {
  using Phase = FakeChatClient::Phase;
  const bool answered = phase != Phase::Waiting;
  if (!answered) {
    if (!ChatRuns()) Violate("a call into the chat client while its window is absent");
    if (call == L"ReadMood") mCaptureUnderWay = !mUsersText;
    if (call == L"WriteMood") mWritesUnderWay.push_back(mCloseReturned);
  } else if (call == L"WriteMood") {
    const bool beganAfterClose = mWritesUnderWay.back();
    mWritesUnderWay.pop_back();
    if (phase == Phase::Succeeded) Written(beganAfterClose);
  } else if (call == L"ReadMood" && phase == Phase::Succeeded) {
    Read();
  }
  // The timer may fire in any wait; a tick must not start inside another handler.
  Deliver(Handler::Tick);
  std::vector<Handler> due;
  std::erase_if(mArmed, [&](const Armed& armed) {
    if (armed.whenAnswered != answered) return false;
    due.push_back(armed.handler);
    return true;
  });
  for (const Handler handler : due) Deliver(handler);
}

// Switching off puts the user's text back at once.
void Run::SwitchedOff() {
  if (mTyped) mUndecided = true;
  mLeftOver = mOursShown;
  mSwitchOffMustRestore = mSwitchOffMustRestore || (ChatRuns() && !FailurePending());
}

// A capture reads the user's text; our markup there is nobody's text.
void Run::Read() {
  const std::wstring& live = mWorld.chat.mood;
  if (gEnabled) mLeftOver = false;
  if (mCaptureUnderWay) {
    mUsersText = IsOwnMarkup(live) ? std::wstring() : live;
    mOursShown = false;
    mUndecided = false;
    mTyped.reset();
  } else if (mUndecided && live == mTyped) {
    mUsersText = live;
    mUndecided = false;
    mTyped.reset();
    mLastWritten.reset();  // the user's text replaced ours: showing the track again is a change
  } else if (mTyped == mUsersText) {
    mTyped.reset();  // read, it is the program's to keep now
  }
}

void Run::Written(bool beganAfterClose) {
  const std::wstring& text = mWorld.chat.mood;
  const bool markup = IsOwnMarkup(text);
  if (markup && !gEnabled) Violate("switched off, a text of ours was written");
  if (markup && beganAfterClose) Violate("a text of ours was written after the close returned");
  if (gEnabled && !mCloseStarted && mLastWritten == text) {
    Violate("switched on, a text was written that does not differ from the last one written");
  }
  mLastWritten = text;
  mOursShown = markup;
  mLeftOver = false;
  if (!markup && mUndecided) {
    mUsersText = text;
    mUndecided = false;
  }
  mTyped.reset();
}

// Typed over a track that we show while switched on, the text is not the user's to keep: the
// saved one comes back when the track ends. Anywhere else it is.
void Run::Typed(const std::wstring& text) {
  mWorld.chat.mood = text;
  mTyped = text;
  if (mOursShown && gEnabled && !mLeftOver) return;
  mUsersText = text;
  mOursShown = false;
  mLeftOver = false;
  mLastWritten.reset();  // the user's text replaced ours: showing the track again is a change
}

void Run::ShowPlayer(Player player, const std::wstring& caption) {
  mPlayer = player;
  mWorld.Show(caption);
}

void Run::CheckAfterEvent() {
  if (!gInitialMoodKnown && !gInitialMood.empty()) Violate("a saved text that is not known");
  if (IsOwnMarkup(gInitialMood)) Violate("our markup was saved as the user's text");
  const std::wstring& current = mSync.CurrentMood();
  if (!current.empty() && !(gInitialMoodKnown && IsOwnMarkup(current))) {
    Violate("the text last written is recorded as ours, but is not our markup");
  }
  if (gEnabled != mEnabledWanted) {
    Violate(mCloseStarted ? "a command ran after the close" : "a command was lost");
  }
  if (mForm.checked != gEnabled) Violate("the check mark does not show the switch");
  if (mSwitchOffMustRestore && !mCloseStarted) CheckUsersTextShown("after a switch-off");
  mSwitchOffMustRestore = false;
  if (mCloseStarted) {
    mClosed = true;
    if (mCloseMustRestore) CheckUsersTextShown("after the close");
  }
}

bool Run::Quiet() const {
  const bool trackWanted = mPlayer == Player::Plays || mPlayer == Player::Paused;
  return !mCloseStarted && ChatRuns() && !FailurePending() && mArmed.empty() && mUsersText &&
         (!gEnabled || !trackWanted);
}

void Run::CheckSettles() {
  Apply(Event::Tick);
  Apply(Event::Tick);
  CheckUsersTextShown("within two ticks of a quiet point");
}

// A link of ours that nobody took away counts as "": it is what a capture saves for it.
void Run::CheckUsersTextShown(const char* when) {
  const std::wstring shown = IsOwnMarkup(mWorld.chat.mood) ? std::wstring() : mWorld.chat.mood;
  if (!mUsersText || shown == *mUsersText || (mUndecided && shown == mTyped)) return;
  Violate(std::string(when) + ", the chat client shows \"" + Narrow(mWorld.chat.mood) +
          "\", not the user's latest own text \"" + Narrow(*mUsersText) + "\"");
}

bool Run::FailurePending() const {
  for (const auto& [call, count] : mWorld.chat.failNext) {
    if (count != 0) return true;
  }
  return false;
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
  mix(text(gInitialMood));
  mix(gInitialMoodKnown);
  mix(gEnabled);
  mix(text(mSync.CurrentMood()));
  mix(mSync.LeftOverUnread());
  mix(mForm.checked);
  mix(ChatRuns());
  mix(text(mWorld.chat.mood));
  for (const auto& [call, count] : mWorld.chat.failNext)
    mix(text(call) + static_cast<unsigned>(count));
  mix(static_cast<std::uint64_t>(mWorld.chat.liveApplications));
  mix(static_cast<std::uint64_t>(mPlayer));
  mix(text(mTrack));
  for (const Armed& armed : mArmed) {
    mix(1U + static_cast<unsigned>(armed.handler) * 2U + armed.whenAnswered);
  }
  mix(mUsersText ? text(*mUsersText) : 1U);
  mix(mTyped ? text(*mTyped) : 1U);
  mix(mOursShown);
  mix(mLeftOver);
  mix(mUndecided);
  mix(mEnabledWanted);
  mix(mLastWritten ? text(*mLastWritten) : 1U);
  return hash;
}

}  // namespace explorer

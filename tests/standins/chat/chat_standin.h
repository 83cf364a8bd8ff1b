#pragma once

// The stand-in chat client and how to talk to it.
//
// standin_chat.exe shows a top-level window of class "tSkMainForm" that holds the mood text.
// standin_chat_com.dll is the in-process automation object of class
// {830690FC-BF2F-47A6-AC2D-330BCB402664}; it forwards every call to that window and answers
// RPC_E_DISCONNECTED when no such window exists.
//
// Every request is a WM_COPYDATA sent to the stand-in's window: dwData is the Request code, the
// data a RequestHeader followed by UTF-16 text (no terminator). The result of SendMessage is the
// answer: an HRESULT for the component's calls, a count for LiveApplications/LiveProfiles.
// Requests that hand back text (ReadMood, GetMood, GetLog) name a reply window in the header;
// the stand-in sets that window's text before it answers, escaped as below, so that a NUL inside
// the text survives.
//
// The log holds one line per call of the component, with the fields process id, call, object
// address (hexadecimal), first and second argument, result (hexadecimal) and text, separated by
// tabs; the text is last, with backslash, tab, newline and NUL escaped as \\, \t, \n and \0.
// Calls: Create, Connect, ReadProfile, ReadMood, WriteMood, ReleaseApplication, ReleaseProfile.
// Live objects count as created by a successful Create or ReadProfile and as gone by their
// release; a release made while the stand-in does not run is not seen.
//
// ChatStandIn wraps all of this for a test.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace chat_standin {

enum class Request : ULONG_PTR {
  // The component's calls.
  Create = 1,
  Connect,
  ReadProfile,
  ReadMood,
  WriteMood,
  ReleaseApplication,
  ReleaseProfile,
  // A test's requests.
  SetMood = 100,
  GetMood,
  GetLog,
  ClearLog,
  // The next arguments[1] calls of the kind arguments[0] (-1: all of them) answer the status
  // arguments[2]; a status that is not negative lets the call go on as usual.
  AnswerNext,
  LiveApplications,
  LiveProfiles,
  // The next arguments[1] calls of the kind arguments[0] (-1: all of them) keep their caller
  // waiting, as a busy chat client does, until Release (or kHoldMilliseconds). They take effect
  // first, or with arguments[2] = 1 only once released, as a chat client busy elsewhere gets to
  // a request late. The stand-in answers every other request meanwhile, a nested call of the
  // component too, which then takes effect before the held one.
  HoldNext,
  // The latest held call that still waits takes effect if it has not, and answers; the one it
  // was nested in, if any, waits on until the next Release.
  Release,
  // arguments[0] = 1: the component waits for each call in a message loop of its own that runs
  // the caller's messages and swallows WM_QUIT, as a faulty modal loop does; 0: it does not.
  SwallowQuit,
  // arguments[0] = 1: the component waits for each call in a message loop of its own that runs
  // the caller's messages and, as modal loops commonly do, leaves on WM_QUIT: it posts the quit
  // again and fails the call at once with kGivenUp. So does every later call while the quit
  // stays queued. A given-up call still reaches the stand-in before its caller goes on, so the
  // chat client carries it out late, in the order the calls were made; once the caller's
  // process has ended and no call is held, every request has landed. 0: it does not.
  AbandonOnQuit,
};

// Where the component reads SwallowQuit and AbandonOnQuit: properties of the stand-in's window.
constexpr wchar_t kSwallowQuitProperty[] = L"Tunemood.StandIn.SwallowQuit";
constexpr wchar_t kAbandonOnQuitProperty[] = L"Tunemood.StandIn.AbandonOnQuit";
// How many calls of the component have reached the stand-in, as a property of its window: a
// call that is to be given up waits until the stand-in has it.
constexpr wchar_t kArrivalsProperty[] = L"Tunemood.StandIn.Arrivals";

// A call of the component by the name the log gives it.
inline const wchar_t* CallName(Request request) {
  switch (request) {
    case Request::Create:
      return L"Create";
    case Request::Connect:
      return L"Connect";
    case Request::ReadProfile:
      return L"ReadProfile";
    case Request::ReadMood:
      return L"ReadMood";
    case Request::WriteMood:
      return L"WriteMood";
    case Request::ReleaseApplication:
      return L"ReleaseApplication";
    case Request::ReleaseProfile:
      return L"ReleaseProfile";
    default:
      return L"";
  }
}

// The same name in plain characters, as test names want it.
inline std::string CallNameText(Request request) {
  std::string name;
  for (const wchar_t* c = CallName(request); *c != L'\0'; ++c) name += static_cast<char>(*c);
  return name;
}

struct RequestHeader {
  std::uint64_t object = 0;  // the component's object the call is made on
  std::uint64_t reply = 0;   // the window whose text receives the answer's text; 0 for none
  std::uint32_t process = ::GetCurrentProcessId();
  std::int32_t arguments[3] = {};
};

// Limits that only a hang reaches: a held call waits for its release however busy the machine,
// and every request outlasts the longest hold.
constexpr DWORD kHoldMilliseconds = 60000;
constexpr UINT kTimeoutMilliseconds = kHoldMilliseconds + 30000;
constexpr HRESULT kNotRunning = RPC_E_DISCONNECTED;
// What a call answers that the component gave up on WM_QUIT.
constexpr HRESULT kGivenUp = RPC_E_CALL_CANCELED;

// When a held call takes effect.
enum class HeldEffect { First, AtRelease };

inline std::uint64_t ToNumber(const void* pointer) {
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

inline std::wstring Escape(const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    if (c == L'\\')
      escaped += L"\\\\";
    else if (c == L'\t')
      escaped += L"\\t";
    else if (c == L'\n')
      escaped += L"\\n";
    else if (c == L'\0')
      escaped += L"\\0";
    else
      escaped += c;
  }
  return escaped;
}

inline std::wstring Unescape(const std::wstring& text) {
  std::wstring plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 == text.size()) {
      plain += text[i];
      continue;
    }
    const wchar_t next = text[++i];
    plain += next == L't' ? L'\t' : next == L'n' ? L'\n' : next == L'0' ? L'\0' : next;
  }
  return plain;
}

// A message-only window that receives the text of an answer.
class ReplyWindow {
 public:
  ReplyWindow()
      : mWindow(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr)) {}
  ~ReplyWindow() {
    if (mWindow) ::DestroyWindow(mWindow);
  }
  ReplyWindow(const ReplyWindow&) = delete;
  ReplyWindow& operator=(const ReplyWindow&) = delete;

  HWND Handle() const { return mWindow; }
  std::wstring Text() const {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(mWindow)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(mWindow, text.data(), static_cast<int>(text.size()))));
    return Unescape(text);
  }

 private:
  HWND mWindow;
};

// Sends one request; false when the stand-in's window does not answer.
inline bool Send(HWND standIn, Request request, RequestHeader header, const std::wstring& text,
                 LRESULT& answer, std::wstring* reply = nullptr) {
  ReplyWindow replyWindow;
  if (reply) header.reply = ToNumber(replyWindow.Handle());
  std::vector<std::uint8_t> data(sizeof header + text.size() * sizeof(wchar_t));
  std::memcpy(data.data(), &header, sizeof header);
  std::memcpy(data.data() + sizeof header, text.data(), text.size() * sizeof(wchar_t));
  COPYDATASTRUCT copy{static_cast<ULONG_PTR>(request), static_cast<DWORD>(data.size()),
                      data.data()};
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(standIn, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                             kTimeoutMilliseconds, &result)) {
    return false;
  }
  answer = static_cast<LRESULT>(result);
  if (reply) *reply = replyWindow.Text();
  return true;
}

// One call of the component as the stand-in logged it.
struct Call {
  DWORD process = 0;
  std::wstring name;
  std::uint64_t object = 0;
  std::int32_t first = 0;
  std::int32_t second = 0;
  HRESULT result = S_OK;
  std::wstring text;
};

inline std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator,
                                       std::size_t most) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (parts.size() + 1 < most) {
    const std::size_t end = text.find(separator, start);
    if (end == std::wstring::npos) break;
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

inline std::wstring Hex(std::uint64_t value) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), L"0123456789ABCDEF"[value % 16]);
    value /= 16;
  } while (value != 0);
  return digits;
}

inline std::wstring FormatCall(const Call& call) {
  return std::to_wstring(call.process) + L"\t" + call.name + L"\t" + Hex(call.object) + L"\t" +
         std::to_wstring(call.first) + L"\t" + std::to_wstring(call.second) + L"\t" +
         Hex(static_cast<std::uint32_t>(call.result)) + L"\t" + Escape(call.text);
}

inline Call ParseCall(const std::wstring& line) {
  const std::vector<std::wstring> fields = Split(line, L'\t', 7);
  Call call;
  if (fields.size() < 7) return call;
  call.process = static_cast<DWORD>(std::stoul(fields[0]));
  call.name = fields[1];
  call.object = std::stoull(fields[2], nullptr, 16);
  call.first = static_cast<std::int32_t>(std::stol(fields[3]));
  call.second = static_cast<std::int32_t>(std::stol(fields[4]));
  call.result = static_cast<HRESULT>(std::stoul(fields[5], nullptr, 16));
  call.text = Unescape(fields[6]);
  return call;
}

// A test's handle on a running stand-in. Every method fails (false, "", -1, nothing) when the
// stand-in's window does not answer.
class ChatStandIn {
 public:
  explicit ChatStandIn(HWND window) : mWindow(window) {}

  // Sets the mood text as the user would.
  bool SetMood(const std::wstring& text) const { return Ask(Request::SetMood, {}, text) == S_OK; }
  std::wstring Mood() const { return AskText(Request::GetMood); }
  std::vector<Call> Log() const {
    std::vector<Call> calls;
    const std::wstring log = AskText(Request::GetLog);
    if (log.empty()) return calls;
    for (const std::wstring& line : Split(log, L'\n', SIZE_MAX)) calls.push_back(ParseCall(line));
    return calls;
  }
  // The calls of one name in the log.
  std::vector<Call> Log(const std::wstring& name) const {
    std::vector<Call> named;
    for (Call& call : Log())
      if (call.name == name) named.push_back(std::move(call));
    return named;
  }
  bool ClearLog() const { return Ask(Request::ClearLog, {}, {}) == S_OK; }
  // The next `count` calls of the kind (-1: every one from now on) answer `status`.
  bool AnswerNext(Request kind, int count, HRESULT status) const {
    return Ask(Request::AnswerNext, {static_cast<std::int32_t>(kind), count, status}, {}) == S_OK;
  }
  bool FailNext(Request kind, int count = 1) const { return AnswerNext(kind, count, E_FAIL); }
  // The next `count` calls of the kind keep their caller waiting until Release.
  bool HoldNext(Request kind, int count = 1, HeldEffect effect = HeldEffect::First) const {
    const std::int32_t late = effect == HeldEffect::AtRelease ? 1 : 0;
    return Ask(Request::HoldNext, {static_cast<std::int32_t>(kind), count, late}) == S_OK;
  }
  bool Release() const { return Ask(Request::Release) == S_OK; }
  bool SwallowQuit(bool swallow) const {
    return Ask(Request::SwallowQuit, {swallow ? 1 : 0}) == S_OK;
  }
  bool AbandonOnQuit(bool abandon) const {
    return Ask(Request::AbandonOnQuit, {abandon ? 1 : 0}) == S_OK;
  }
  long LiveApplications() const { return static_cast<long>(Ask(Request::LiveApplications)); }
  long LiveProfiles() const { return static_cast<long>(Ask(Request::LiveProfiles)); }

 private:
  LRESULT Ask(Request request, std::vector<std::int32_t> arguments = {},
              const std::wstring& text = {}) const {
    RequestHeader header;
    for (std::size_t i = 0; i < arguments.size() && i < 3; ++i) header.arguments[i] = arguments[i];
    LRESULT answer = -1;
    return Send(mWindow, request, header, text, answer) ? answer : -1;
  }
  std::wstring AskText(Request request) const {
    LRESULT answer = -1;
    std::wstring reply;
    return Send(mWindow, request, {}, {}, answer, &reply) && answer == S_OK ? reply
                                                                            : std::wstring{};
  }

  HWND mWindow;
};

}  // namespace chat_standin

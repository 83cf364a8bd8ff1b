// The stand-in chat client: a window of the chat client's class that holds the mood text and
// answers the requests of chat_standin.h.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chat_standin.h"

namespace {

using namespace chat_standin;

// What the next calls of one kind answer.
struct Answer {
  int remaining = 0;  // -1: every call
  HRESULT status = S_OK;
};

class StandIn {
 public:
  explicit StandIn(HWND window) : mWindow(window) {}

  LRESULT Handle(Request request, const RequestHeader& header, const std::wstring& text) {
    switch (request) {
      case Request::Create:
      case Request::Connect:
      case Request::ReadProfile:
      case Request::ReadMood:
      case Request::WriteMood:
      case Request::ReleaseApplication:
      case Request::ReleaseProfile:
        return Component(request, header, text);
      case Request::SetMood:
        SetMood(text);
        return S_OK;
      case Request::GetMood:
        Reply(header, mMood);
        return S_OK;
      case Request::GetLog:
        Reply(header, JoinedLog());
        return S_OK;
      case Request::ClearLog:
        mLog.clear();
        return S_OK;
      case Request::AnswerNext:
        mAnswers[static_cast<Request>(header.arguments[0])] = {header.arguments[1],
                                                               header.arguments[2]};
        return S_OK;
      case Request::LiveApplications:
        return mLiveApplications;
      case Request::LiveProfiles:
        return mLiveProfiles;
      case Request::HoldNext:
        mHolds[static_cast<Request>(header.arguments[0])] = {header.arguments[1],
                                                             header.arguments[2] != 0};
        return S_OK;
      case Request::Release:
        ReleaseLatest();
        return S_OK;
      case Request::SwallowQuit:
        SetFlag(kSwallowQuitProperty, header.arguments[0] != 0);
        return S_OK;
      case Request::AbandonOnQuit:
        SetFlag(kAbandonOnQuitProperty, header.arguments[0] != 0);
        return S_OK;
    }
    return E_INVALIDARG;
  }

  void Paint(HDC dc) const {
    RECT area;
    ::GetClientRect(mWindow, &area);
    std::wstring shown = L"Mood: " + mMood;
    ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area, DT_LEFT | DT_WORDBREAK);
  }

 private:
  // How the next calls of one kind are held.
  struct HoldPlan {
    int remaining = 0;  // -1: every call
    bool late = false;  // the effect waits for the release
  };
  // A call that keeps its caller waiting, with the effect it still owes when held late.
  struct HeldCall {
    bool waiting = true;
    std::function<void()> effect;  // empty once it has landed
  };

  LRESULT Component(Request request, const RequestHeader& header, const std::wstring& text) {
    ++mArrivals;
    ::SetPropW(mWindow, kArrivalsProperty, reinterpret_cast<HANDLE>(mArrivals));
    Call call{header.process,      CallName(request),   header.object, header.arguments[0],
              header.arguments[1], NextStatus(request), text};
    HoldPlan& plan = mHolds[request];
    const bool held = TakeOne(plan.remaining);
    std::function<void()> effect;
    if (SUCCEEDED(call.result)) {
      if (held && plan.late) {
        effect = [this, request, header, written = call.text]() mutable {
          Perform(request, header, written);
        };
      } else {
        Perform(request, header, call.text);
      }
    }
    mLog.push_back(FormatCall(call));
    if (held) Hold(std::move(effect));
    return call.result;
  }

  // Keeps the caller waiting while every request sent meanwhile is answered, until the test
  // releases it, the window goes, or the longest hold has passed; a late effect lands then.
  void Hold(std::function<void()> effect) {
    const std::size_t self = mHeld.size();
    mHeld.push_back({true, std::move(effect)});
    const ULONGLONG deadline = ::GetTickCount64() + kHoldMilliseconds;
    while (mHeld[self].waiting && ::IsWindow(mWindow) && ::GetTickCount64() < deadline) {
      MSG message;
      ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_SENDMESSAGE);
    }
    TakeEffect(mHeld[self]);
    mHeld.pop_back();
  }

  // The late effect lands before Release answers, so that the test reads it at once.
  void ReleaseLatest() {
    for (auto held = mHeld.rbegin(); held != mHeld.rend(); ++held) {
      if (!held->waiting) continue;
      held->waiting = false;
      TakeEffect(*held);
      return;
    }
  }

  static void TakeEffect(HeldCall& held) {
    if (held.effect) std::exchange(held.effect, nullptr)();
  }

  void SetFlag(const wchar_t* property, bool on) const {
    if (on) {
      ::SetPropW(mWindow, property, mWindow);
    } else {
      ::RemovePropW(mWindow, property);
    }
  }

  void Perform(Request request, const RequestHeader& header, std::wstring& text) {
    switch (request) {
      case Request::Create:
        ++mLiveApplications;
        break;
      case Request::ReadProfile:
        ++mLiveProfiles;
        break;
      case Request::ReadMood:
        text = mMood;
        Reply(header, mMood);
        break;
      case Request::WriteMood:
        SetMood(text);
        break;
      case Request::ReleaseApplication:
        --mLiveApplications;
        break;
      case Request::ReleaseProfile:
        --mLiveProfiles;
        break;
      default:
        break;
    }
  }

  HRESULT NextStatus(Request request) {
    Answer& answer = mAnswers[request];
    return TakeOne(answer.remaining) ? answer.status : S_OK;
  }

  // Counts down what is left of a count of calls (-1: no end); false when nothing is left.
  static bool TakeOne(int& remaining) {
    if (remaining == 0) return false;
    if (remaining > 0) --remaining;
    return true;
  }

  void SetMood(const std::wstring& text) {
    mMood = text;
    ::InvalidateRect(mWindow, nullptr, TRUE);
  }

  // Blocked: a request sent meanwhile would otherwise run inside the answer, and a held call
  // among them would keep the asker waiting for its answer until the hold ends. The asker takes
  // the answer at once, since it waits for this request in a send of its own.
  static void Reply(const RequestHeader& header, const std::wstring& text) {
    const HWND reply = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(header.reply));
    if (reply)
      ::SendMessageTimeoutW(reply, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Escape(text).c_str()),
                            SMTO_BLOCK, kTimeoutMilliseconds, nullptr);
  }

  std::wstring JoinedLog() const {
    std::wstring joined;
    for (const std::wstring& line : mLog) joined += (joined.empty() ? L"" : L"\n") + line;
    return joined;
  }

  HWND mWindow;
  std::wstring mMood;
  std::vector<std::wstring> mLog;
  std::map<Request, Answer> mAnswers;
  std::map<Request, HoldPlan> mHolds;
  std::vector<HeldCall> mHeld;  // innermost last
  std::uintptr_t mArrivals = 0;
  long mLiveApplications = 0;
  long mLiveProfiles = 0;
};

LRESULT OnCopyData(StandIn& standIn, const COPYDATASTRUCT& copy) {
  if (copy.cbData < sizeof(RequestHeader)) return E_INVALIDARG;
  RequestHeader header;
  std::memcpy(&header, copy.lpData, sizeof header);
  const auto* bytes = static_cast<const std::uint8_t*>(copy.lpData) + sizeof header;
  std::wstring text((copy.cbData - sizeof header) / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes, text.size() * sizeof(wchar_t));
  return standIn.Handle(static_cast<Request>(copy.dwData), header, text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* standIn = reinterpret_cast<StandIn*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_COPYDATA:
      if (standIn) return OnCopyData(*standIn, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      break;
    case WM_PAINT:
      if (standIn) {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        standIn->Paint(dc);
        ::EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"tSkMainForm";
  if (!::RegisterClassW(&windowClass)) return 1;
  const HWND window = ::CreateWindowExW(0, L"tSkMainForm", L"Chat stand-in", WS_OVERLAPPEDWINDOW,
                                        40, 40, 400, 120, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  StandIn standIn(window);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&standIn));
  ::ShowWindow(window, SW_SHOWNOACTIVATE);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

#include "probe_channel.h"

#include <chrono>
#include <cstring>

#include "waiting.h"

namespace {

using namespace std::chrono_literals;

LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* reply = reinterpret_cast<std::optional<std::vector<BYTE>>*>(
        ::GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const BYTE*>(data->lpData);
    reply->emplace(bytes, bytes + data->cbData);
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

ProbeChannel::ProbeChannel(const std::wstring& dllPath, const char* hookProcedure, HWND program,
                           Delivery delivery)
    : mProgram(program),
      mDelivery(delivery),
      mHook(dllPath, hookProcedure, program,
            delivery == Delivery::Sent ? WH_CALLWNDPROC : WH_GETMESSAGE) {
  WNDCLASSW replyClass{};
  replyClass.lpfnWndProc = &ReplyWindowProc;
  replyClass.hInstance = ::GetModuleHandleW(nullptr);
  replyClass.lpszClassName = L"TunemoodProbeReply";
  ::RegisterClassW(&replyClass);
  mReplyWindow.reset(::CreateWindowExW(0, replyClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
                                       nullptr, nullptr, replyClass.hInstance, nullptr));
  ::SetWindowLongPtrW(mReplyWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&mReply));
}

std::optional<std::vector<BYTE>> ProbeChannel::Ask(const wchar_t* request, LPARAM argument) {
  const UINT message = ::RegisterWindowMessageW(request);
  mReply.reset();
  const auto replyTo = reinterpret_cast<WPARAM>(mReplyWindow.get());
  if (mDelivery == Delivery::Sent) {
    // The answer arrives while this waits.
    DWORD_PTR unused = 0;
    ::SendMessageTimeoutW(mProgram, message, replyTo, argument, SMTO_NORMAL,
                          static_cast<UINT>(kHangLimit.count()), &unused);
    return mReply;
  }
  const auto deadline = std::chrono::steady_clock::now() + kHangLimit;
  while (!mReply && std::chrono::steady_clock::now() < deadline) {
    ::PostMessageW(mProgram, message, replyTo, argument);
    WaitUntil([&] { return mReply.has_value(); }, 500ms);
  }
  return mReply;
}

std::optional<std::wstring> ProbeChannel::AskText(const wchar_t* request, LPARAM argument) {
  const std::optional<std::vector<BYTE>> reply = Ask(request, argument);
  if (!reply) return std::nullopt;
  std::wstring text(reply->size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), reply->data(), text.size() * sizeof(wchar_t));
  return text;
}

void ProbeChannel::Tell(const wchar_t* request, WPARAM wParam, LPARAM lParam) const {
  ::PostMessageW(mProgram, ::RegisterWindowMessageW(request), wParam, lParam);
}

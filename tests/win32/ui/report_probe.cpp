// A test DLL that a WH_GETMESSAGE hook loads into the program: it records what the window draws
// and moves the window to another display density, both of which only the program's own
// process can do (Wine hands another process's WM_DPICHANGED no rectangle).
#include <windows.h>

#include <vector>

#include "probe_reply.h"
#include "report_probe.h"
#include "win32/gdi.h"
#include "win32/handles.h"

namespace {

std::vector<BYTE> RecordClientArea(HWND window) {
  const WindowDc reference(window);
  const HDC recorder = ::CreateEnhMetaFileW(reference.get(), nullptr, nullptr, nullptr);
  if (recorder == nullptr) return {};
  ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder), PRF_CLIENT);
  // Closing the recorder hands over its metafile.
  const UniqueEnhMetaFile metafile(::CloseEnhMetaFile(recorder));
  std::vector<BYTE> bytes(::GetEnhMetaFileBits(metafile.get(), 0, nullptr));
  ::GetEnhMetaFileBits(metafile.get(), static_cast<UINT>(bytes.size()), bytes.data());
  return bytes;
}

void ChangeDpi(HWND window, UINT dpi, LPARAM suggestedSize) {
  RECT suggested{};
  ::GetWindowRect(window, &suggested);
  suggested.right = suggested.left + LOWORD(suggestedSize);
  suggested.bottom = suggested.top + HIWORD(suggestedSize);
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ReportProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message->message == ::RegisterWindowMessageW(kRecordReport)) {
      const std::vector<BYTE> drawing = RecordClientArea(message->hwnd);
      AnswerProbe(reinterpret_cast<HWND>(message->wParam), message->hwnd, drawing.data(),
                  drawing.size());
    } else if (message->message == ::RegisterWindowMessageW(kChangeDpi)) {
      ChangeDpi(message->hwnd, static_cast<UINT>(message->wParam), message->lParam);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

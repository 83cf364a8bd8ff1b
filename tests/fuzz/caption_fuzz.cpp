// The caption rules against any caption a player window can show: no crash, and the track and
// the paused and stopped states agree with what the caption says.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fake_platform/fake_desktop.h"
#include "fuzz_support.h"
#include "player/winamp.h"

namespace {

// A second way of asking the marker question: fold the whole caption, then search.
bool HasMarker(std::wstring caption, std::wstring_view lowerMarker) {
  std::transform(caption.begin(), caption.end(), caption.begin(), [](wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
  });
  return caption.find(lowerMarker) != std::wstring::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring raw = WideText(data, size);
  FakeDesktop desktop;
  desktop.ShowPlayer(1, raw);

  const std::wstring caption = GetWindowCaption(desktop, FindWinampWindow(desktop));
  Check(caption.find(L'\0') == std::wstring::npos, "the caption stops at its first null");
  Check(caption.empty() || (caption.front() != L' ' && caption.back() != L' '),
        "the caption has no space at either end");
  Check(CleanCaption(caption) == caption, "cleaning a clean caption changes nothing");
  Check(raw.find(caption) != std::wstring::npos, "the caption is a part of what was read");

  const std::wstring track = GetWinampCurrentTrack(desktop);
  Check(caption.find(track) != std::wstring::npos, "the track is a part of the caption");
  Check(track.find(L" - Winamp") == std::wstring::npos, "the track ends before the suffix");
  Check(track.empty() || caption.find(L" - Winamp") != std::wstring::npos,
        "a track needs the suffix");

  Check(IsWinampPaused(desktop) == HasMarker(caption, L" - winamp [paused]"), "paused state");
  Check(IsWinampStopped(desktop) == HasMarker(caption, L" - winamp [stopped]"), "stopped state");
  return 0;
}

// The mood markup against any track: the link text parses back to exactly the track, so no
// tag can break out of it, and only texts this program can write count as its own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/markup.h"
#include "fuzz_support.h"

namespace {

constexpr std::wstring_view kLinkEnd = L"</a>";

// The link's opening tag, taken from the builder itself so that a changed address needs no
// change here.
std::wstring LinkStart() {
  std::wstring empty = FormatPlayingMood(L"");
  return empty.substr(0, empty.size() - kLinkEnd.size());
}

// The text inside our link, entities decoded; nothing when it is not one link around plain text.
std::optional<std::wstring> LinkText(std::wstring_view markup) {
  const std::wstring start = LinkStart();
  if (!markup.starts_with(start) || !markup.ends_with(kLinkEnd)) return std::nullopt;
  if (markup.size() < start.size() + kLinkEnd.size()) return std::nullopt;
  std::wstring_view inner =
      markup.substr(start.size(), markup.size() - start.size() - kLinkEnd.size());
  std::wstring text;
  while (!inner.empty()) {
    if (inner.front() == L'<' || inner.front() == L'>' || inner.front() == L'"')
      return std::nullopt;
    if (inner.front() != L'&') {
      text += inner.front();
      inner.remove_prefix(1);
      continue;
    }
    bool known = false;
    for (auto [entity, plain] : {std::pair{L"&amp;", L'&'}, std::pair{L"&lt;", L'<'},
                                 std::pair{L"&gt;", L'>'}, std::pair{L"&quot;", L'"'}}) {
      if (!inner.starts_with(entity)) continue;
      text += plain;
      inner.remove_prefix(std::wstring_view(entity).size());
      known = true;
      break;
    }
    if (!known) return std::nullopt;
  }
  return text;
}

std::optional<std::wstring> PausedLinkText(std::wstring_view markup) {
  constexpr std::wstring_view kStart = L"<blink>";
  constexpr std::wstring_view kEnd = L"</blink>";
  if (markup.size() < kStart.size() + kEnd.size()) return std::nullopt;
  if (!markup.starts_with(kStart) || !markup.ends_with(kEnd)) return std::nullopt;
  return LinkText(markup.substr(kStart.size(), markup.size() - kStart.size() - kEnd.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = WideText(data, size);

  const std::wstring playing = FormatPlayingMood(text);
  const std::wstring paused = FormatPausedMood(playing);
  Check(LinkText(playing) == text, "the playing markup parses back to the track");
  Check(PausedLinkText(paused) == text, "the paused markup parses back to the track");
  Check(IsOwnMarkup(playing) && IsOwnMarkup(paused), "both markups count as our own");

  // The same text taken as something read from the chat client: it is ours exactly when it is
  // what we write for the track it holds, so a user's own text is never mistaken for ours.
  const std::optional<std::wstring> track = LinkText(text);
  const std::optional<std::wstring> pausedTrack = PausedLinkText(text);
  const bool ours = (track && FormatPlayingMood(*track) == text) ||
                    (pausedTrack && FormatPausedMood(FormatPlayingMood(*pausedTrack)) == text);
  Check(IsOwnMarkup(text) == ours, "only our exact markups count as our own");
  return 0;
}

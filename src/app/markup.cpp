#include "app/markup.h"

namespace {

constexpr std::wstring_view kLinkStart =
    L"<a href=\"http://tunemood.github.io/html/tunemood.html\">";
constexpr std::wstring_view kLinkEnd = L"</a>";
constexpr std::wstring_view kBlinkStart = L"<blink>";
constexpr std::wstring_view kBlinkEnd = L"</blink>";

// The track comes from file tags that anyone can write: unescaped, it could plant its own link
// in the user's public mood text.
std::wstring_view EntityFor(wchar_t c) {
  switch (c) {
    case L'&':
      return L"&amp;";
    case L'<':
      return L"&lt;";
    case L'>':
      return L"&gt;";
    case L'"':
      return L"&quot;";
    default:
      return {};
  }
}

std::wstring Escape(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    std::wstring_view entity = EntityFor(c);
    if (entity.empty()) {
      out += c;
    } else {
      out += entity;
    }
  }
  return out;
}

// True when Escape can have produced the text: no bare markup character, every '&' an entity.
bool IsEscaped(std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (EntityFor(text[i]).empty()) continue;
    if (text[i] != L'&') return false;
    std::wstring_view rest = text.substr(i);
    bool entity = false;
    for (wchar_t c : std::wstring_view(L"&<>\"")) entity = entity || rest.starts_with(EntityFor(c));
    if (!entity) return false;
  }
  return true;
}

// Removes the frame when the text stands inside it.
bool Unwrap(std::wstring_view& text, std::wstring_view start, std::wstring_view end) {
  if (text.size() < start.size() + end.size()) return false;
  if (!text.starts_with(start) || !text.ends_with(end)) return false;
  text.remove_prefix(start.size());
  text.remove_suffix(end.size());
  return true;
}

}  // namespace

std::wstring FormatPlayingMood(const std::wstring& track) {
  std::wstring mood(kLinkStart);
  mood += Escape(track);
  mood += kLinkEnd;
  return mood;
}

std::wstring FormatPausedMood(const std::wstring& text) {
  std::wstring mood(kBlinkStart);
  mood += text;
  mood += kBlinkEnd;
  return mood;
}

bool IsOwnMarkup(std::wstring_view text) {
  std::wstring_view link = text;
  if (Unwrap(link, kLinkStart, kLinkEnd) && IsEscaped(link)) return true;
  std::wstring_view paused = text;
  return Unwrap(paused, kBlinkStart, kBlinkEnd) && Unwrap(paused, kLinkStart, kLinkEnd) &&
         IsEscaped(paused);
}

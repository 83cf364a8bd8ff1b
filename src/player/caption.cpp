#include "player/caption.h"

#include <algorithm>

std::wstring CleanCaption(std::wstring_view raw) {
  raw = raw.substr(0, raw.find(L'\0'));
  const auto first = raw.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const auto last = raw.find_last_not_of(L' ');
  return std::wstring(raw.substr(first, last - first + 1));
}

std::wstring TrackFromCaption(std::wstring_view caption) {
  const auto dot = caption.find(L'.');
  const auto suffix = caption.find(L" - Winamp");
  if (dot == std::wstring_view::npos || suffix == std::wstring_view::npos) return {};
  // The dot and the space behind it are skipped; a suffix that begins before that leaves no
  // track at all.
  const auto start = dot + 2;
  if (suffix <= start) return {};
  return std::wstring(caption.substr(start, suffix - start));
}

namespace {

// The markers are plain ASCII, so folding ASCII letters is all the comparison needs, and it
// does not depend on the system's locale.
wchar_t FoldCase(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool ContainsText(std::wstring_view text, std::wstring_view pattern) {
  if (text.empty()) return false;
  const auto found = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(),
                                 [](wchar_t a, wchar_t b) { return FoldCase(a) == FoldCase(b); });
  return found != text.end();
}

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/explorer/hash_mix.h"

namespace explorer {

// The ghost of the user's text: what the program should know of the chat client's mood text,
// kept from the events alone, without looking at the program's state. The rules that the
// user's text is never lost, that a track is shown and that a write is a change compare the
// program and the chat client with it.
class Ghost {
 public:
  // `oldLink`: the link an earlier run left showing when the program starts, if any.
  explicit Ghost(std::optional<std::wstring> oldLink) : mOldLink(std::move(oldLink)) {}

  // A tick found no chat client: the user's text is unknown until the next capture reads it.
  void ChatLost();
  // The chat client closed: one started again is written afresh.
  void ChatClosed() { mLastWritten.reset(); }
  void ForgetLastWritten() { mLastWritten.reset(); }
  // The program took a text that it read; a capture is a read begun while the user's text was
  // unknown, and saves what it reads.
  void Read(const std::wstring& live, bool capture, bool enabled);
  // The chat client now shows a text that the program wrote.
  void Written(const std::wstring& text);
  // The user typed `text` over `over`; `inCall`: while a call waited, where a write decided
  // before may still overwrite it unread.
  void Typed(const std::wstring& over, const std::wstring& text, bool enabled, bool inCall);
  // Switching off and the end's put-backs write the saved text, over a typed text that may be
  // lost.
  void SwitchedOff();
  void PutBackStarts();

  bool KnowsUsersText() const { return mUsersText.has_value(); }
  bool ReadSinceFound() const { return mReadSinceFound; }
  // The user's text is known and read since the chat client was found: it must be shown where
  // the program may end.
  bool MustKeepUsersText() const { return mUsersText && mReadSinceFound; }
  const std::wstring& UsersText() const { return *mUsersText; }
  // Whether `shown` is, as far as the program can know, the user's latest own text.
  bool IsUsersText(const std::wstring& shown) const;
  // Whether the chat client showing `shown` shows the track's `wanted` markup, or the user's
  // text typed over it.
  bool ShowsTrack(const std::wstring& shown, const std::wstring& wanted) const;
  const std::optional<std::wstring>& LastWritten() const { return mLastWritten; }

  std::uint64_t Hash() const;

 private:
  // The user's latest own text; unknown from a tick without the chat client until the next
  // capture.
  std::optional<std::wstring> mUsersText;
  // A read succeeded since a tick last found the chat client: before it the program cannot
  // know the text, and a write is not allowed.
  bool mReadSinceFound = false;
  // The chat client shows a text of ours, written and not yet replaced by the user's.
  bool mOursShown = false;
  // The link an earlier run left; it counts as the user's "" while it stands, until the first
  // write or the user's typing.
  std::optional<std::wstring> mOldLink;
  // Our track was shown when switching off, and no switched-on read has claimed it again since:
  // a text typed over it stands, as over any text of ours left from a switch-off.
  bool mLeftOver = false;
  // A text the user typed that the program may still overwrite: one that no read has seen yet,
  // or one typed over our track while switched on.
  std::optional<std::wstring> mTyped;
  // Our markup that the user typed over while switched on: it is not written again while wanted.
  std::optional<std::wstring> mTypedOver;
  // A switch-off or an end came while a typed text stood, or the text was typed while a call
  // waited: the program may put the saved text or ours over it, or leave it. Whichever the
  // program keeps next, written or read, is the user's.
  bool mUndecided = false;
  // mTyped was typed while a call waited, and the user's text the program knew before it.
  bool mTypedInCall = false;
  std::optional<std::wstring> mKnownBeforeTyping;
  // The typed text that a put-back overwrote unread: a read that the put-back overtook still
  // brings it to the program, and a write of it is the user's again. Until the next read shows
  // another text.
  std::optional<std::wstring> mAlternative;
  // The text last written while the chat client ran, until the user typed over it: switched on,
  // the next write must differ from it.
  std::optional<std::wstring> mLastWritten;
};

}  // namespace explorer

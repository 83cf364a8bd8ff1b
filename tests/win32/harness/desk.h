#pragma once

#include <windows.h>

#include <string>

#include "child_process.h"
#include "standins.h"

// The stand-in player, the stand-in chat client and Tunemood on one desktop, driven from the
// outside as the user and the two programs would.
class Desk {
 public:
  // The chat client starts with the user's own mood text.
  bool StartChat(const std::wstring& mood) { return mChat.Start(mood); }
  // The user closes the chat client.
  bool CloseChat() { return mChat.Close(); }
  const chat_standin::ChatStandIn& Chat() const { return mChat.Chat(); }
  bool ChatRunning() const { return mChat.Running(); }

  bool StartPlayer(const std::wstring& caption) { return mPlayer.Start(caption); }
  // The player shows another caption: next track, pause, stop.
  bool ShowCaption(const std::wstring& caption) { return mPlayer.Show(caption); }
  bool ClosePlayer() { return mPlayer.Close(); }

  bool StartTunemood();
  HWND TunemoodWindow() const { return mTunemoodWindow; }
  // Picks a menu command of Tunemood's window and returns when it has run.
  bool Command(UINT id);
  // Ends Tunemood by its menu or its close button; its exit code, or -1 when it did not end.
  long ExitByMenu();
  long CloseTunemood();
  // Waits for Tunemood to end; its exit code, or -1 when it did not end.
  long TunemoodExitCode();
  // Ends Tunemood at once, as Windows may once a session has ended.
  void KillTunemood() { mTunemood.Terminate(); }

  // Polls the chat client's mood text until it is `expected`; false only when the program hangs.
  bool MoodBecomes(const std::wstring& expected) const;
  // Waits until a write of the text reaches the chat client, which may be keeping it waiting.
  bool WriteArrives(const std::wstring& text) const;
  // Waits for the first tick that reads the chat client's mood.
  bool WaitForRead() const;
  // Waits until a whole tick has run since this call, for checks that nothing happens. Each tick
  // reads the running chat client's mood once, first: the tick that makes the second read from
  // now began after the one that made the first, which began after this call.
  bool WholeTickPasses() const;

 private:
  ChatClient mChat;
  PlayerProgram mPlayer;
  // Last, so that it ends first and does not see the stand-ins go.
  ChildProcess mTunemood;
  HWND mTunemoodWindow = nullptr;
};

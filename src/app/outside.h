#pragma once

#include <string>

#include "platform/desktop.h"

// Everything the program asks of the player and the chat client. Every call looks afresh;
// nothing is cached, so two calls may disagree.
class Outside {
 public:
  virtual ~Outside() = default;

  virtual WindowHandle FindSkypeWindow() = 0;
  // True with the mood text read; False with "" on any failure.
  virtual bool GetSkypeMood(std::wstring& text) = 0;
  virtual bool SetSkypeMood(const std::wstring& text) = 0;
  virtual bool IsSkypeApiDisabledAllUsers() = 0;
  virtual bool IsSkypeApiDisabledCurrentUser() = 0;

  virtual WindowHandle FindWinampWindow() = 0;
  virtual std::wstring GetWindowCaption(WindowHandle window) = 0;
  virtual bool IsWinampStopped() = 0;
  virtual std::wstring GetWinampCurrentTrack() = 0;
  virtual bool IsWinampPaused() = 0;
};

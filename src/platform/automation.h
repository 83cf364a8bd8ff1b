#pragma once

#include <memory>
#include <string>

// The chat client's profile object: one read or one write, then released.
class ChatProfile {
 public:
  virtual ~ChatProfile() = default;

  virtual bool ReadMoodText(std::wstring& text) = 0;
  virtual bool WriteMoodText(const std::wstring& text) = 0;
};

// The chat client's application object, as created from its class.
class ChatApplication {
 public:
  virtual ~ChatApplication() = default;

  // The connect request; false on a failure status.
  virtual bool Connect() = 0;
  // The profile object; nullptr on a failure status.
  virtual std::unique_ptr<ChatProfile> ReadProfile() = 0;
};

// Creation of the chat client's automation object.
class Automation {
 public:
  virtual ~Automation() = default;

  // nullptr when the object cannot be created.
  virtual std::unique_ptr<ChatApplication> CreateApplication() = 0;
};

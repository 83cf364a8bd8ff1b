#pragma once

#include "platform/automation.h"

// The chat client's automation object, reached through COM on this thread's single-threaded
// apartment.
class ComAutomation final : public Automation {
 public:
  std::unique_ptr<ChatApplication> CreateApplication() override;
};

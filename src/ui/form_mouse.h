#pragma once

#include <cstdint>

#include "app/synchroniser.h"

// Mouse button codes as Form_MouseDown receives them.
constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;
constexpr std::int16_t kMiddleButton = 4;

// A left-button double-click on the window switches synchronisation over. The double-click
// does not say which button made it, so the last left or right press decides.
class FormMouse {
 public:
  explicit FormMouse(Synchroniser& sync) : mSync(sync) {}

  void Form_MouseDown(std::int16_t button);
  void Form_DblClick();

 private:
  Synchroniser& mSync;
  bool mLeftButtonDown = false;
};

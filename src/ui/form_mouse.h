#pragma once

#include <cstdint>

// Mouse button codes as Form_MouseDown receives them.
constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;
constexpr std::int16_t kMiddleButton = 4;

// A left-button double-click on the window switches synchronisation over. The double-click
// does not say which button made it, so the last left or right press decides.
class FormMouse {
 public:
  void Form_MouseDown(std::int16_t button);
  // Whether the double-click that just came switches synchronisation over. It leaves the last
  // press in charge: a double-click of another button after it decides alike.
  bool DblClickSwitches() const { return mLeftButtonDown; }

 private:
  bool mLeftButtonDown = false;
};

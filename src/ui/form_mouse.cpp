#include "ui/form_mouse.h"

void FormMouse::Form_MouseDown(std::int16_t button) {
  if (button == kLeftButton) {
    mLeftButtonDown = true;
  } else if (button == kRightButton) {
    mLeftButtonDown = false;
  }
}

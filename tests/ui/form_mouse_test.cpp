#include "ui/form_mouse.h"

#include <gtest/gtest.h>

namespace {

// Windows reports a double-click in place of the second press; the press before it decides.
TEST(FormMouseTest, OnlyTheLastLeftOrRightPressDecidesWhetherADoubleClickSwitches) {
  FormMouse mouse;
  EXPECT_FALSE(mouse.DblClickSwitches()) << "no press yet";
  mouse.Form_MouseDown(kLeftButton);
  EXPECT_TRUE(mouse.DblClickSwitches());
  mouse.Form_MouseDown(kRightButton);
  EXPECT_FALSE(mouse.DblClickSwitches()) << "a right double-click begins with a right press";
  mouse.Form_MouseDown(kMiddleButton);
  EXPECT_FALSE(mouse.DblClickSwitches());
  mouse.Form_MouseDown(kLeftButton);
  mouse.Form_MouseDown(kMiddleButton);
  EXPECT_TRUE(mouse.DblClickSwitches()) << "a middle press leaves the left one in charge";
}

}  // namespace

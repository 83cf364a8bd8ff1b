#include "ui/form_mouse.h"

#include <gtest/gtest.h>

#include "app/state.h"
#include "fake_platform/fake_form.h"
#include "fake_platform/fake_world.h"

namespace {

class FormMouseTest : public ::testing::Test {
 protected:
  void SetUp() override { gEnabled = false; }

  FakeWorld world;
  FakeForm form;
  Synchroniser sync{world.outside, form};
  FormMouse mouse{sync};
};

TEST_F(FormMouseTest, EachLeftDoubleClickSwitchesOverAndTheCheckMarkFollows) {
  mouse.Form_MouseDown(kLeftButton);
  mouse.Form_DblClick();
  EXPECT_TRUE(gEnabled);
  EXPECT_TRUE(form.checked);

  mouse.Form_MouseDown(kLeftButton);
  mouse.Form_DblClick();
  EXPECT_FALSE(gEnabled);
  EXPECT_FALSE(form.checked);
}

TEST_F(FormMouseTest, NoPressYetOrARightPressMakesTheDoubleClickDoNothing) {
  mouse.Form_DblClick();
  EXPECT_FALSE(gEnabled);

  mouse.Form_MouseDown(kLeftButton);
  mouse.Form_MouseDown(kRightButton);
  mouse.Form_DblClick();
  EXPECT_FALSE(gEnabled);
}

TEST_F(FormMouseTest, ASingleLeftPressSwitchesNothing) {
  mouse.Form_MouseDown(kLeftButton);
  EXPECT_FALSE(gEnabled);
  EXPECT_FALSE(form.checked);
}

TEST_F(FormMouseTest, OtherButtonsLeaveTheLastLeftOrRightPressInCharge) {
  mouse.Form_MouseDown(kLeftButton);
  mouse.Form_MouseDown(kMiddleButton);
  mouse.Form_DblClick();
  EXPECT_TRUE(gEnabled);

  mouse.Form_MouseDown(kRightButton);
  mouse.Form_MouseDown(kMiddleButton);
  mouse.Form_DblClick();
  EXPECT_TRUE(gEnabled);
}

}  // namespace

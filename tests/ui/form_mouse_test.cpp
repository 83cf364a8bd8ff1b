#include "ui/form_mouse.h"

#include <gtest/gtest.h>

#include "app/fake_outside.h"
#include "app/state.h"

namespace {

class FormMouseTest : public ::testing::Test {
 protected:
  void SetUp() override { gEnabled = false; }

  FakeOutside world;
  FakeForm form;
  Synchroniser sync{world, form};
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

TEST_F(FormMouseTest, ADoubleClickWhileATickWaitsOnTheChatClientSwitchesAfterTheTick) {
  world.chatWindow = 77;
  world.afterCall = [this](const std::wstring& call) {
    if (call != L"GetSkypeMood") return;
    mouse.Form_MouseDown(kLeftButton);
    mouse.Form_DblClick();
    EXPECT_FALSE(gEnabled);
  };
  sync.tmrTimer_Timer();
  EXPECT_TRUE(gEnabled);
  EXPECT_TRUE(form.checked);
}

}  // namespace

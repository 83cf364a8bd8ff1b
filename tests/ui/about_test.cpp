#include "ui/about.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutTest, CaptionIsAboutAndTheTitleAndTextHasFiveLinesBrokenByCarriageReturns) {
  const AboutBox box = MakeAboutBox(L"Tunemood", L"What it does.", L"Copyright (C) Someone");
  EXPECT_EQ(box.caption, L"About Tunemood");
  EXPECT_EQ(box.text, L"Tunemood\r\rWhat it does.\r\rCopyright (C) Someone");
  EXPECT_EQ(box.text.find(L'\n'), std::wstring::npos);
}

}  // namespace

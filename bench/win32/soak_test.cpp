// A shorter soak of the real program: any growth after the warm-up, or a chat client object
// that outlives its call, fails the build.
#include <objbase.h>

#include <gtest/gtest.h>

#include "soak.h"

namespace {

class SoakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { ::CoUninitialize(); }
};

TEST_F(SoakTest, ADayOfTracksAndChatRestartsLeavesNothingBehind) {
  std::wstring failure;
  const std::optional<SoakReport> report =
      RunSoak({.ticks = 1024, .warmup = 256, .chatEvery = 256}, failure);
  ASSERT_TRUE(report.has_value()) << testing::PrintToString(failure);

  // A leak of a few bytes a tick shows as tens of kilobytes here; the heap's own rounding does not.
  EXPECT_LE(report->end.privateBytes, report->warm.privateBytes + 64 * 1024);
  EXPECT_EQ(report->end.handles, report->warm.handles);
  EXPECT_EQ(report->end.gdiObjects, report->warm.gdiObjects);
  EXPECT_EQ(report->end.userObjects, report->warm.userObjects);
  EXPECT_EQ(report->applicationsCreated, 1);
  EXPECT_EQ(report->mostLiveProfiles, 0);
  // The soak really wrote: every track change, pause and stop since each chat client start.
  EXPECT_GT(report->writes, report->ticks / 4);
  EXPECT_EQ(report->chatRestarts, 3);
}

}  // namespace

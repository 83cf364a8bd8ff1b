#include "ui/form_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A window system that keeps whole pixels, as a real one does, and logs what it is asked.
class PixelFrame final : public FormFrame {
 public:
  PixelFrame(unsigned density, int outerWidth, int outerHeight, int screenW, int screenH)
      : dpi(density),
        width(outerWidth),
        height(outerHeight),
        screenWidth(screenW),
        screenHeight(screenH) {}

  double Height() const override { return Log(L"Height"), PixelsToTwips(height, dpi); }
  double Width() const override { return Log(L"Width"), PixelsToTwips(width, dpi); }
  void SetHeight(double twips) override {
    Log(L"SetHeight");
    height = std::min(TwipsToPixels(twips, dpi), maxHeight);
  }
  void SetWidth(double twips) override {
    Log(L"SetWidth");
    width = TwipsToPixels(twips, dpi);
  }
  void SetTop(double twips) override { Log(L"SetTop"), top = TwipsToPixels(twips, dpi); }
  void SetLeft(double twips) override { Log(L"SetLeft"), left = TwipsToPixels(twips, dpi); }
  double ScreenHeight() const override { return PixelsToTwips(screenHeight, dpi); }
  double ScreenWidth() const override { return PixelsToTwips(screenWidth, dpi); }

  unsigned dpi;
  int width, height, screenWidth, screenHeight;
  int maxHeight = 100000;
  int top = 0, left = 0;
  mutable std::vector<std::wstring> calls;

 private:
  void Log(const wchar_t* call) const { calls.push_back(call); }
};

TEST(FormGeometryTest, TwipsFollowTheDisplayDensity) {
  EXPECT_EQ(TwipsToPixels(kDesignClientWidth, 96), 312);
  EXPECT_EQ(TwipsToPixels(kDesignClientHeight, 96), 213);
  EXPECT_EQ(TwipsToPixels(kDesignClientWidth, 144), 468);
  EXPECT_EQ(TwipsToPixels(kDesignClientHeight, 144), 320);  // 319.5 rounds up
  EXPECT_DOUBLE_EQ(PixelsToTwips(1, 96), 15.0);
  EXPECT_DOUBLE_EQ(PixelsToTwips(1, 144), 10.0);
  EXPECT_EQ(TwipsToPixels(-7.5 * 15, 96), -8);
}

TEST(FormGeometryTest, EnlargesHeightFirstThenCentresWithTheSizesReadBack) {
  PixelFrame frame(96, 328, 271, 1024, 768);
  EnlargeAndCentre(frame);
  const std::vector<std::wstring> expected = {L"Height", L"SetHeight", L"Width", L"SetWidth",
                                              L"Height", L"SetTop",    L"Width", L"SetLeft"};
  EXPECT_EQ(frame.calls, expected);
  EXPECT_EQ(frame.width, 492);
  EXPECT_EQ(frame.height, 407);  // 406.5 pixels, rounded by the window system
  EXPECT_EQ(frame.top, 181);     // (768 - 407) / 2 = 180.5
  EXPECT_EQ(frame.left, 266);
}

TEST(FormGeometryTest, At144DpiTheSameWindowIsEnlargedAndCentredInItsOwnPixels) {
  PixelFrame frame(144, 484, 400, 1920, 1080);
  EnlargeAndCentre(frame);
  EXPECT_EQ(frame.width, 726);
  EXPECT_EQ(frame.height, 600);
  EXPECT_EQ(frame.top, 240);
  EXPECT_EQ(frame.left, 597);
}

TEST(FormGeometryTest, CentringUsesTheHeightTheWindowReallyTook) {
  PixelFrame frame(96, 328, 271, 1024, 768);
  frame.maxHeight = 300;
  EnlargeAndCentre(frame);
  EXPECT_EQ(frame.height, 300);
  EXPECT_EQ(frame.top, 234);
}

TEST(FormGeometryTest, AWindowLargerThanTheScreenGetsANegativeTopAndLeft) {
  PixelFrame frame(96, 500, 400, 640, 480);
  EnlargeAndCentre(frame);
  EXPECT_EQ(frame.width, 750);
  EXPECT_EQ(frame.height, 600);
  EXPECT_EQ(frame.left, -55);
  EXPECT_EQ(frame.top, -60);
}

}  // namespace

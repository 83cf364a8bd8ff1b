#include "ui/form_geometry.h"

#include <cmath>

double PixelsToTwips(int pixels, unsigned dpi) {
  return pixels * kTwipsPerInch / dpi;
}

int TwipsToPixels(double twips, unsigned dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

void EnlargeAndCentre(FormFrame& frame) {
  frame.SetHeight(frame.Height() * 1.5);
  frame.SetWidth(frame.Width() * 1.5);
  frame.SetTop((frame.ScreenHeight() - frame.Height()) / 2);
  frame.SetLeft((frame.ScreenWidth() - frame.Width()) / 2);
}

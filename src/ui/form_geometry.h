#pragma once

// Window sizes and positions are in twips: 1440 to the inch, whatever the display's density.
constexpr double kTwipsPerInch = 1440.0;

// The client area the window is designed with, before it is enlarged.
constexpr double kDesignClientWidth = 4680.0;
constexpr double kDesignClientHeight = 3195.0;

double PixelsToTwips(int pixels, unsigned dpi);
// The whole pixel nearest to the twips; negative positions stay negative.
int TwipsToPixels(double twips, unsigned dpi);

// The main window's outer frame and the screen, in twips. What is read back after a change is
// the size the window system really gave the window.
class FormFrame {
 public:
  virtual ~FormFrame() = default;

  virtual double Height() const = 0;
  virtual double Width() const = 0;
  virtual void SetHeight(double twips) = 0;
  virtual void SetWidth(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  virtual void SetLeft(double twips) = 0;
  virtual double ScreenHeight() const = 0;
  virtual double ScreenWidth() const = 0;
};

// Enlarges the window by half, height before width, then centres it on the screen with the
// sizes read back. Nothing is clamped: a window larger than the screen gets a negative top or
// left.
void EnlargeAndCentre(FormFrame& frame);

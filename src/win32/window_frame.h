#pragma once

#include <windows.h>

#include "ui/form_geometry.h"

// The main window's outer frame and the primary screen in twips, at the window's density.
class WindowFrame final : public FormFrame {
 public:
  explicit WindowFrame(HWND window);

  // Sizes the window so that its client area takes these twips; the frame and menu bar come on
  // top.
  void SetClientSize(double widthTwips, double heightTwips);

  double Height() const override;
  double Width() const override;
  void SetHeight(double twips) override;
  void SetWidth(double twips) override;
  void SetTop(double twips) override;
  void SetLeft(double twips) override;
  double ScreenHeight() const override;
  double ScreenWidth() const override;

 private:
  RECT Outer() const;
  void Resize(int width, int height);
  void Move(int left, int top);

  HWND mWindow;
  unsigned mDpi;
};

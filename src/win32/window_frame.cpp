#include "win32/window_frame.h"

#include "win32/dpi.h"

WindowFrame::WindowFrame(HWND window) : mWindow(window), mDpi(WindowDpi(window)) {}

void WindowFrame::SetClientSize(double widthTwips, double heightTwips) {
  const RECT outer = Outer();
  RECT client{};
  ::GetClientRect(mWindow, &client);
  const int frameWidth = (outer.right - outer.left) - client.right;
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;
  Resize(TwipsToPixels(widthTwips, mDpi) + frameWidth,
         TwipsToPixels(heightTwips, mDpi) + frameHeight);
}

double WindowFrame::Height() const {
  const RECT outer = Outer();
  return PixelsToTwips(outer.bottom - outer.top, mDpi);
}

double WindowFrame::Width() const {
  const RECT outer = Outer();
  return PixelsToTwips(outer.right - outer.left, mDpi);
}

void WindowFrame::SetHeight(double twips) {
  const RECT outer = Outer();
  Resize(outer.right - outer.left, TwipsToPixels(twips, mDpi));
}

void WindowFrame::SetWidth(double twips) {
  const RECT outer = Outer();
  Resize(TwipsToPixels(twips, mDpi), outer.bottom - outer.top);
}

void WindowFrame::SetTop(double twips) {
  Move(Outer().left, TwipsToPixels(twips, mDpi));
}

void WindowFrame::SetLeft(double twips) {
  Move(TwipsToPixels(twips, mDpi), Outer().top);
}

double WindowFrame::ScreenHeight() const {
  return PixelsToTwips(::GetSystemMetrics(SM_CYSCREEN), mDpi);
}

double WindowFrame::ScreenWidth() const {
  return PixelsToTwips(::GetSystemMetrics(SM_CXSCREEN), mDpi);
}

RECT WindowFrame::Outer() const {
  RECT outer{};
  ::GetWindowRect(mWindow, &outer);
  return outer;
}

void WindowFrame::Resize(int width, int height) {
  ::SetWindowPos(mWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowFrame::Move(int left, int top) {
  ::SetWindowPos(mWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

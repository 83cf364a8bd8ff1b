#pragma once

#include <windows.h>

#include "win32/handles.h"

// Selects an object into a device context and puts the one it replaced back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : mDc(dc), mPrevious(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (mPrevious != nullptr) ::SelectObject(mDc, mPrevious);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC mDc;
  HGDIOBJ mPrevious;
};

// A window's client-area device context outside painting, released at the end.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : mWindow(window), mDc(::GetDC(window)) {}
  ~WindowDc() {
    if (mDc != nullptr) ::ReleaseDC(mWindow, mDc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return mDc; }

 private:
  HWND mWindow;
  HDC mDc;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : mWindow(window) { mDc = ::BeginPaint(window, &mPaint); }
  ~PaintScope() { ::EndPaint(mWindow, &mPaint); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC get() const { return mDc; }

 private:
  HWND mWindow;
  PAINTSTRUCT mPaint{};
  HDC mDc = nullptr;
};

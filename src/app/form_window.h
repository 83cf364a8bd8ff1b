#pragma once

// What the synchroniser needs of the main window it lives in.
class FormWindow {
 public:
  virtual ~FormWindow() = default;

  virtual void ShowDebugInformation() = 0;
  virtual void SetEnabledChecked(bool checked) = 0;
  virtual void StopTimer() = 0;
  virtual void ClearWindow() = 0;
};

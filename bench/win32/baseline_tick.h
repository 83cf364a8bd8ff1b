#pragma once

#include <objbase.h>
#include <windows.h>
#include <wrl/client.h>

// The floor of one tick while a track plays and is already shown: exactly the calls on the
// player's window, the registry and the chat client's object that the tick and its report
// make, each made afresh, with nothing else around them.
class BaselineTick {
 public:
  // Creates its own application object of the chat client's class; Ready() tells.
  BaselineTick();

  bool Ready() const { return mApplication != nullptr; }
  void Run();

 private:
  Microsoft::WRL::ComPtr<IUnknown> mApplication;
};

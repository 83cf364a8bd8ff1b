#pragma once

#include "win32/handles.h"

// A named mutex in this session's namespace, held for the whole run, marks a running copy.
class SingleInstance {
 public:
  SingleInstance();
  bool IsAnotherCopyRunning() const { return mAnotherCopy; }

 private:
  UniqueKernelHandle mMutex;
  bool mAnotherCopy = false;
};

#include "win32/single_instance.h"

SingleInstance::SingleInstance()
    : mMutex(::CreateMutexW(nullptr, FALSE, L"Local\\Tunemood.SingleInstance")),
      mAnotherCopy(::GetLastError() == ERROR_ALREADY_EXISTS) {}

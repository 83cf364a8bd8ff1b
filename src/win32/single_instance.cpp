#include "win32/single_instance.h"

namespace {

// The installer looks for a running copy by this name.
constexpr wchar_t kName[] = L"Local\\Tunemood.SingleInstance";

// A copy that runs under another account in this session holds the name with a security that
// denies us: it is running all the same.
bool MeansAnotherCopy(DWORD creationError) {
  return creationError == ERROR_ALREADY_EXISTS || creationError == ERROR_ACCESS_DENIED;
}

}  // namespace

SingleInstance::SingleInstance()
    : mMutex(::CreateMutexW(nullptr, FALSE, kName)),
      mAnotherCopy(MeansAnotherCopy(::GetLastError())) {}

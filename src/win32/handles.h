#pragma once

#include <windows.h>

#include "win32/unique_handle.h"

using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;
using UniqueHkey = UniqueHandle<HKEY, &::RegCloseKey>;

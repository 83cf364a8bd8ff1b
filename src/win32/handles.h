#pragma once

// Every owner of a Windows resource, the program's and its tests' alike.
#include <windows.h>
// After windows.h, whose types it uses.
#include <oleauto.h>

#include "win32/unique_handle.h"

using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;

// CreateFileW (and CreateToolhelp32Snapshot) report failure as INVALID_HANDLE_VALUE, not as null.
inline HANDLE InvalidFileHandle() {
  return INVALID_HANDLE_VALUE;
}
using UniqueFile = UniqueHandle<HANDLE, &::CloseHandle, &InvalidFileHandle>;

using UniqueHkey = UniqueHandle<HKEY, &::RegCloseKey>;
using UniqueModule = UniqueHandle<HMODULE, &::FreeLibrary>;
using UniqueBstr = UniqueHandle<BSTR, &::SysFreeString>;
using UniqueWindow = UniqueHandle<HWND, &::DestroyWindow>;
using UniqueHook = UniqueHandle<HHOOK, &::UnhookWindowsHookEx>;
// The array CommandLineToArgvW hands out.
using UniqueArgumentList = UniqueHandle<LPWSTR*, &::LocalFree>;

using UniqueFont = UniqueHandle<HFONT, &::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, &::DeleteDC>;
using UniqueEnhMetaFile = UniqueHandle<HENHMETAFILE, &::DeleteEnhMetaFile>;

#pragma once

#include <windows.h>

// The process's shown top-level window that no other window owns, of the class when one is
// given; nullptr when there is none yet.
HWND FindShownWindow(DWORD processId, const wchar_t* className = nullptr);
// Polls for it; nullptr when the process hangs without one.
HWND WaitForShownWindow(DWORD processId, const wchar_t* className = nullptr);

// Sends a message and waits for it to be handled, so that what it did can be read back at once
// (a posted one is overtaken by the reads that follow); false when it was not handled in time.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr);

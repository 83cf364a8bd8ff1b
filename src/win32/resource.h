#pragma once

// Resource and command identifiers, shared by tunemood.rc and the code.
#define IDI_TUNEMOOD 1
#define IDR_MAIN_MENU 100
#define IDM_ENABLED 101
#define IDM_ABOUT 102
#define IDM_EXIT 103

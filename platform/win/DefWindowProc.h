#pragma once
// The default answers to messages that the skin relies on.
#include "win/WinTypes.h"

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

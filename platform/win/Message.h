#pragma once
// Sending, posting and retrieving messages; the loops pump the GUI-thread
// call queue (os::CheckSynchronize) too.  Retrieval order: posted messages,
// WM_QUIT, input (converted when it is taken, so hit testing sees the windows
// as they are then), WM_PAINT, WM_TIMER.
#include "win/WinTypes.h"

#include <functional>

// From another thread the call runs on the GUI thread and waits.
LRESULT SendMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp); // any thread; null h: a thread message
void PostQuitMessage(int code);
BOOL PeekMessage(MSG* msg, HWND h, UINT min, UINT max, UINT remove);
BOOL GetMessage(MSG* msg, HWND h, UINT min, UINT max); // 0 on WM_QUIT
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
BOOL WaitMessage();
BOOL InSendMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();
UINT RegisterWindowMessage(const char* name); // 0xC000..0xFFFF, one number per name

namespace win {

// Sees every message GetMessage and PeekMessage(PM_REMOVE) hand out, in every
// loop, before it is translated or dispatched; answering true swallows it
// (the caller gets WM_NULL).  Returns the previous hook.
using MessageHook = std::function<bool(MSG&)>;
MessageHook SetMessageHook(MessageHook hook);

// Dispatches everything that is ready: posted messages, input, paints, due
// timers and queued GUI-thread calls.  Never waits.  Tests and waiting loops
// use it; answers whether anything ran.
bool ProcessPending();
// ProcessPending until nothing is left (bounded, so a window that keeps
// invalidating itself cannot hang a test).
void RunUntilIdle();

} // namespace win

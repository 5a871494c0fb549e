#include "win/Message.h"

#include "display/Backend.h"
#include "os/Clock.h"
#include "os/MainThread.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Timers.h"
#include "win/WindowImpl.h"

#include <deque>
#include <map>
#include <mutex>

namespace win {
namespace {

struct Queue {
    std::mutex m;
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
};

Queue& Q() {
    static Queue q;
    return q;
}

std::deque<MSG> g_input; // converted input, GUI thread only
MessageHook g_hook;
DWORD g_lastTime = 0;
POINT g_lastPos{};
const HWND kBroadcast = reinterpret_cast<HWND>(0xFFFF);

bool Matches(const MSG& m, HWND h, UINT min, UINT max) {
    if (h && m.hwnd != h) return false;
    if (min == 0 && max == 0) return true;
    return m.message >= min && m.message <= max;
}

bool TakeFrom(std::deque<MSG>& q, MSG* out, HWND h, UINT min, UINT max, bool remove) {
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!Matches(*it, h, min, max)) continue;
        *out = *it;
        if (remove) q.erase(it);
        return true;
    }
    return false;
}

bool Stamp(MSG* m) {
    if (m->time == 0) m->time = os::GetTickCount();
    GetCursorPos(&m->pt);
    g_lastTime = m->time;
    g_lastPos = m->pt;
    return true;
}

} // namespace

void EnsureLoopSetup() {
    static bool done = [] {
        // A call queued from another thread must end an idle GetMessage.
        os::SetSynchronizeWaker([] { display::Current().Wake(); });
        return true;
    }();
    (void)done;
}

MessageHook SetMessageHook(MessageHook hook) {
    MessageHook old = std::move(g_hook);
    g_hook = std::move(hook);
    return old;
}

bool ProcessPending() {
    EnsureLoopSetup();
    bool any = os::CheckSynchronize(0);
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam)); // leave it for the loop that owns it
            break;
        }
        TranslateMessage(&m);
        DispatchMessage(&m);
        os::CheckSynchronize(0);
    }
    return any;
}

void RunUntilIdle() {
    for (int i = 0; i < 1000 && ProcessPending(); ++i) {
    }
}

} // namespace win

using namespace win;

LRESULT SendMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (!os::IsMainThread()) {
        LRESULT r = 0;
        os::CallInMainThread([&] { r = SendMessage(h, msg, wp, lp); });
        return r;
    }
    if (h == kBroadcast) {
        std::vector<HWND> all = TopLevels();
        for (HWND t : all) SendMessage(t, msg, wp, lp);
        return 0;
    }
    WindowPtr w = Get(h); // keeps the object alive through the call
    if (!w) return 0;
    return CallProc(w->proc, h, msg, wp, lp);
}

BOOL PostMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (h == kBroadcast) {
        if (!os::IsMainThread()) return FALSE;
        for (HWND t : TopLevels()) PostMessage(t, msg, wp, lp);
        return TRUE;
    }
    if (h && os::IsMainThread() && !Get(h)) return FALSE;
    {
        std::lock_guard g(Q().m);
        Q().posted.push_back({h, msg, wp, lp, os::GetTickCount(), {}});
    }
    display::Current().Wake();
    return TRUE;
}

void PostQuitMessage(int code) {
    std::lock_guard g(Q().m);
    Q().quit = true;
    Q().quitCode = code;
}

BOOL PeekMessage(MSG* msg, HWND h, UINT min, UINT max, UINT remove) {
    if (!msg) return FALSE;
    EnsureLoopSetup();
    bool rm = remove & PM_REMOVE;
    for (;;) {
        {
            std::lock_guard g(Q().m);
            if (TakeFrom(Q().posted, msg, h, min, max, rm)) break;
            if (Q().quit && !h) {
                *msg = {nullptr, WM_QUIT, static_cast<WPARAM>(Q().quitCode), 0, 0, {}};
                if (rm) Q().quit = false;
                break;
            }
        }
        bool found = TakeFrom(g_input, msg, h, min, max, rm);
        while (!found && ConvertInput(g_input)) found = TakeFrom(g_input, msg, h, min, max, rm);
        if (found) break;
        if (!min || (min <= WM_PAINT && max >= WM_PAINT)) {
            if (HWND p = NextPaintWindow(h)) {
                *msg = {p, WM_PAINT, 0, 0, 0, {}};
                break;
            }
        }
        // Timers come last and only when nothing else waits.
        if ((!min || (min <= WM_TIMER && max >= WM_TIMER)) && TakeDueTimer(*msg, h, rm)) break;
        return FALSE;
    }
    Stamp(msg);
    if (rm && g_hook) {
        MessageHook hook = g_hook; // the hook may replace itself
        if (hook(*msg)) msg->message = WM_NULL;
    }
    return TRUE;
}

BOOL GetMessage(MSG* msg, HWND h, UINT min, UINT max) {
    for (;;) {
        os::CheckSynchronize(0);
        if (PeekMessage(msg, h, min, max, PM_REMOVE)) return msg->message != WM_QUIT;
        WaitMessage();
    }
}

BOOL WaitMessage() {
    EnsureLoopSetup();
    int delay = NextTimerDelay();
    // Under a virtual clock timers move only when the test advances it: look again soon.
    if (os::VirtualClock::Enabled() && delay >= 0) delay = 5;
    display::Current().Wait(delay);
    return TRUE;
}

BOOL TranslateMessage(const MSG* m) {
    if (!m) return FALSE;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (m->message == WM_KEYDOWN) {
        int vk = static_cast<int>(m->wParam);
        WPARAM ch = 0;
        if (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)
            ch = static_cast<WPARAM>(vk);
        else if (ctrl && vk >= 'A' && vk <= 'Z')
            ch = static_cast<WPARAM>(vk - 'A' + 1);
        if (ch) return PostMessage(m->hwnd, WM_CHAR, ch, m->lParam);
        return FALSE;
    }
    if (m->message == WM_SYSKEYDOWN && (m->lParam & (1 << 29))) {
        int vk = static_cast<int>(m->wParam);
        if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE)
            return PostMessage(m->hwnd, WM_SYSCHAR,
                               static_cast<WPARAM>(vk >= 'A' && vk <= 'Z' ? vk + 32 : vk), m->lParam);
    }
    return FALSE;
}

LRESULT DispatchMessage(const MSG* m) {
    if (!m || !m->hwnd) return 0;
    if (m->message == WM_TIMER && m->lParam) {
        reinterpret_cast<TIMERPROC>(m->lParam)(m->hwnd, WM_TIMER, m->wParam, os::GetTickCount());
        return 0;
    }
    WindowPtr w = Get(m->hwnd);
    if (!w) return 0;
    LRESULT r = CallProc(w->proc, m->hwnd, m->message, m->wParam, m->lParam);
    if (m->message == WM_PAINT && Get(m->hwnd)) {
        // A procedure that answers WM_PAINT without BeginPaint would be asked
        // forever: what it left is validated, but a pending frame is still
        // painted, as Win32 does.
        w->update.Clear();
        w->erase = w->internalPaint = false;
        if (w->ncDirty) {
            w->ncDirty = false;
            SendMessage(m->hwnd, WM_NCPAINT, 1, 0);
        }
    }
    return r;
}

BOOL InSendMessage() {
    return FALSE;
}
DWORD GetMessageTime() {
    return g_lastTime;
}
DWORD GetMessagePos() {
    return static_cast<DWORD>(MAKELPARAM(g_lastPos.x, g_lastPos.y));
}

UINT RegisterWindowMessage(const char* name) {
    static std::map<std::string, UINT> names;
    if (!name || !*name) return 0;
    std::string key = name;
    for (char& c : key) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    auto it = names.find(key);
    if (it != names.end()) return it->second;
    UINT id = 0xC000 + static_cast<UINT>(names.size());
    if (id > 0xFFFF) return 0;
    names.emplace(key, id);
    return id;
}

#include "win/Timers.h"

#include "os/Clock.h"
#include "win/Messages.h"
#include "win/WindowImpl.h"

#include <algorithm>
#include <vector>

namespace win {
namespace {

struct Timer {
    HWND hwnd;
    uintptr_t id;
    UINT interval;
    uint64_t due;
    TIMERPROC proc;
};

std::vector<Timer>& Timers() {
    static std::vector<Timer> t;
    return t;
}

} // namespace

int NextTimerDelay() {
    if (Timers().empty()) return -1;
    uint64_t now = os::GetTickCount64(), first = UINT64_MAX;
    for (const Timer& t : Timers()) first = std::min(first, t.due);
    return first <= now ? 0 : static_cast<int>(std::min<uint64_t>(first - now, 1 << 30));
}

bool TakeDueTimer(MSG& out, HWND filter, bool remove) {
    uint64_t now = os::GetTickCount64();
    for (Timer& t : Timers()) {
        if (t.due > now || (filter && t.hwnd != filter)) continue;
        out = {t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), static_cast<DWORD>(now), {}};
        // Missed turns are not made up for: the next one is an interval from now.
        if (remove) t.due = now + t.interval;
        return true;
    }
    return false;
}

void KillWindowTimers(HWND h) {
    std::erase_if(Timers(), [h](const Timer& t) { return t.hwnd == h; });
}

} // namespace win

using namespace win;

uintptr_t SetTimer(HWND h, uintptr_t id, UINT elapse, TIMERPROC proc) {
    if (h && !Get(h)) return 0;
    elapse = std::max<UINT>(elapse, 10);
    if (!h) {
        // Thread timers get a fresh id.
        static uintptr_t next = 0x7F00;
        id = ++next;
    }
    uint64_t due = os::GetTickCount64() + elapse;
    for (Timer& t : Timers())
        if (t.hwnd == h && t.id == id) {
            t.interval = elapse, t.due = due, t.proc = proc;
            return h ? 1 : id;
        }
    Timers().push_back({h, id, elapse, due, proc});
    return h ? 1 : id;
}

BOOL KillTimer(HWND h, uintptr_t id) {
    auto& t = Timers();
    auto it = std::find_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == h && x.id == id; });
    if (it == t.end()) return FALSE;
    t.erase(it);
    return TRUE;
}

DWORD GetTickCount() {
    return os::GetTickCount();
}

#include "gui/Timer.h"

#include "win/DefWindowProc.h"
#include "win/Messages.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"

#include <unordered_map>

namespace gui {

namespace {
std::unordered_map<HWND, TTimer*> g_timers;

LRESULT TimerWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

const char* TimerClass() {
    static const char* name = [] {
        WNDCLASS wc{};
        wc.lpfnWndProc = TimerWndProc;
        wc.lpszClassName = "TTimerWindow";
        RegisterClass(&wc);
        return "TTimerWindow";
    }();
    return name;
}
} // namespace

class TimerAccess {
public:
    static void Fire(TTimer* t) { t->Timer(); }
};

namespace {
LRESULT TimerWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        auto it = g_timers.find(h);
        if (it != g_timers.end()) TimerAccess::Fire(it->second);
        return 0;
    }
    return DefWindowProc(h, msg, wp, lp);
}
} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    HWND w = CreateWindowEx(0, TimerClass(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    window_ = w;
    g_timers[w] = this;
    Update();
}

TTimer::~TTimer() {
    HWND w = static_cast<HWND>(window_);
    KillTimer(w, 1);
    g_timers.erase(w);
    DestroyWindow(w);
}

void TTimer::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Update();
}

void TTimer::SetInterval(unsigned ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

// Restarting counts the interval from now, as setting any of the three properties does.
void TTimer::Update() {
    HWND w = static_cast<HWND>(window_);
    KillTimer(w, 1);
    if (enabled_ && interval_ > 0 && !Loading()) SetTimer(w, 1, interval_, nullptr);
}

void TTimer::Timer() {
    if (enabled_ && OnTimer) OnTimer(this);
}

} // namespace gui

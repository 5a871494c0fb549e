#pragma once
// TTimer: OnTimer every Interval milliseconds on the GUI thread, from the window system's
// timers (so a virtual clock in tests drives it).
#include "gui/Classes.h"

namespace gui {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    std::string ClassName() const override { return "TTimer"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void Loaded() override;

private:
    friend class TimerAccess;
    void Update();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    void* window_ = nullptr; // HWND of its hidden window
};

} // namespace gui

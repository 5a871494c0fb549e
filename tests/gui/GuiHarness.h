#pragma once
// GUI tests: forms made headless on the virtual clock, input injected at screen points, modal
// dialogs answered by scripted responders, pixels read from the window surfaces.
#include "display/headless/Headless.h"
#include "gdi/Bitmap.h"
#include "gui/Application.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
#include "os/Clock.h"
#include "os/MainThread.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/WindowPos.h"

#include "WaitUntil.h"

#include <chrono>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

class GuiTest : public ::testing::Test {
protected:
    // A responder gets the modal form on top; it answers true once it has dealt with it.
    using Responder = std::function<bool(gui::TCustomForm& form)>;

    void SetUp() override {
        os::VirtualClock::Enable(1000);
        D().SetIdleHandler([this] { Idle(); });
        D().MoveMouse(1279, 1023);
        RunUntilIdle();
    }
    void TearDown() override {
        D().SetIdleHandler(nullptr);
        // Whatever the test made, the application owns.
        gui::Application->DestroyComponents();
        RunUntilIdle();
        EXPECT_TRUE(responders_.empty()) << "a responder found no modal form";
        responders_.clear();
        os::VirtualClock::Disable();
    }

    static display::Headless& D() { return *display::HeadlessDisplay(); }

    template <class T = gui::TForm, class... Args> T* MakeForm(Args&&... args) {
        T* f = new T(gui::Application, std::forward<Args>(args)...);
        f->AfterConstruction();
        return f;
    }

    // Messages go through the application, as in the program, so that the key handling before
    // translation takes part.  Input that only posts a notice (a mouse leave) leaves the queue
    // empty for one look: idle means two empty looks in a row.  A window that keeps
    // invalidating itself fails the test instead of hanging it.
    static void RunUntilIdle() {
        int empty = 0;
        EXPECT_TRUE(WaitUntil(
            [&] {
                MSG m;
                bool any = os::CheckSynchronize(0);
                any = gui::Application->ProcessMessage(m) || any;
                empty = any ? 0 : empty + 1;
                return empty >= 2;
            },
            std::chrono::seconds(5), "the message queue to empty"));
    }
    // Moves the virtual clock in small steps, dispatching what falls due.
    static void Advance(int ms) {
        for (int t = 0; t < ms; t += 10) {
            os::VirtualClock::Advance(static_cast<uint64_t>(std::min(10, ms - t)));
            RunUntilIdle();
        }
    }
    // Input at a point of a control's client area.
    static POINT ScreenOf(gui::TControl* c, int x, int y) {
        gui::TPoint p = c->ClientToScreen({x, y});
        return {p.x, p.y};
    }
    static void MoveTo(gui::TControl* c, int x, int y) {
        POINT p = ScreenOf(c, x, y);
        D().MoveMouse(p.x, p.y);
        RunUntilIdle();
    }
    static void ClickAt(gui::TControl* c, int x, int y) {
        POINT p = ScreenOf(c, x, y);
        D().Click(p.x, p.y);
        RunUntilIdle();
    }
    static void PressKey(int vk) {
        D().Key(vk);
        RunUntilIdle();
    }

    void Respond(Responder r) { responders_.push_back(std::move(r)); }

    // The colour at a client point of a control, read from its top-level window's surface.
    static COLORREF PixelAt(gui::TControl* c, int x, int y) {
        gui::TControl* top = c;
        while (top->Parent()) top = top->Parent();
        auto* w = static_cast<gui::TWinControl*>(top);
        RECT wr;
        GetWindowRect(w->Handle(), &wr);
        POINT s = ScreenOf(c, x, y);
        const gdi::Bitmap* b = win::GetWindowSurface(w->Handle());
        if (!b) return CLR_INVALID;
        uint32_t v = b->View().Get(s.x - wr.left, s.y - wr.top);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    // Called whenever a loop would sleep: answers the modal form on top, or gives up on a
    // dialog nobody answers (a test must never hang).
    void Idle() {
        gui::TCustomForm* modal = nullptr;
        for (int i = 0; i < gui::Screen->FormCount() && !modal; ++i)
            if (gui::Screen->Forms(i)->FormState & gui::fsModal) modal = gui::Screen->Forms(i);
        if (!modal) return;
        if (!responders_.empty()) {
            Responder r = std::move(responders_.front());
            responders_.pop_front();
            if (!r(*modal)) responders_.push_front(std::move(r));
            waitingSince_.reset();
            D().Wake();
            return;
        }
        // Nothing scripted: something else (a worker's call) may still end the loop; a
        // dialog that nobody answers for five seconds fails the test instead of hanging it.
        auto now = std::chrono::steady_clock::now();
        if (!waitingSince_) waitingSince_ = now;
        if (now - *waitingSince_ > std::chrono::seconds(5)) {
            ADD_FAILURE() << "modal form '" << modal->Caption() << "' was never answered";
            modal->SetModalResult(gui::mrCancel);
            waitingSince_.reset();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        D().Wake();
    }
    std::deque<Responder> responders_;
    std::optional<std::chrono::steady_clock::time_point> waitingSince_;
};

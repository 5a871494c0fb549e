#pragma once
// The headless display: one fake 1280x1024 monitor whose work area ends above
// a 40-pixel bar, surfaces in memory that tests read, and input that tests
// inject at screen coordinates.
#include "display/Backend.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace display {

class Headless final : public Backend {
public:
    struct SurfaceState {
        std::shared_ptr<gdi::Bitmap> surface;
        RECT screen{};
        bool visible = false;
        WindowKind kind = WindowKind::Normal;
        bool shaped = false;
        gdi::Region shape;
        int alpha = 255;
        bool perPixel = false;
        int presents = 0;
    };

    std::vector<Monitor> Monitors() override;
    std::shared_ptr<gdi::Bitmap> CreateSurface(uintptr_t id, int width, int height) override;
    void DestroySurface(uintptr_t id) override;
    void Place(uintptr_t id, const RECT& screen, bool visible, WindowKind kind) override;
    void SetShape(uintptr_t id, const gdi::Region* shape) override;
    void SetOpacity(uintptr_t id, int alpha, bool perPixel) override;
    void Present(uintptr_t id, const RECT& dirty) override;
    bool PollInput(RawInput& ev) override;
    void Wait(int timeoutMs) override;
    void Wake() override;
    void Beep() override { ++beeps; }
    void SetClipboardText(const std::string& utf8) override;
    std::string ClipboardText() override;

    // Test side.
    void SetMonitors(std::vector<Monitor> m);
    const SurfaceState* Surface(uintptr_t id) const;
    void MoveMouse(int x, int y);
    void Press(int button = 0);
    void Release(int button = 0);
    void Click(int x, int y, int button = 0);
    void Wheel(int delta);
    void KeyDown(int vk);
    void KeyUp(int vk);
    void Key(int vk) { KeyDown(vk), KeyUp(vk); }
    void Type(const std::u32string& text);
    bool InputPending();
    // Anything else the desktop would say (Moved, Close).
    void Push(RawInput ev);
    // Called when a loop is about to sleep with nothing to do; a test can
    // inject more input or end a modal loop from here.
    void SetIdleHandler(std::function<void()> handler);
    int beeps = 0;

private:
    // Mouse input happens where the pointer is now.
    void PushAtMouse(RawInput::Kind kind, int button = 0, int delta = 0);
    std::mutex m_;
    std::condition_variable cv_;
    bool woken_ = false;
    std::deque<RawInput> input_;
    POINT mouse_{};
    std::map<uintptr_t, SurfaceState> surfaces_;
    std::vector<Monitor> monitors_{
        {{0, 0, 1280, 1024}, {0, 0, 1280, 984}}
    };
    std::string clipboard_;
    std::function<void()> idle_;
};

// The headless backend when it is the current one, else null.
Headless* HeadlessDisplay();

} // namespace display

#include "display/headless/Headless.h"

#include <chrono>

namespace display {

std::vector<Monitor> Headless::Monitors() {
    std::lock_guard g(m_);
    return monitors_;
}

void Headless::SetMonitors(std::vector<Monitor> m) {
    std::lock_guard g(m_);
    if (!m.empty()) monitors_ = std::move(m);
}

std::shared_ptr<gdi::Bitmap> Headless::CreateSurface(uintptr_t id, int width, int height) {
    auto s = gdi::NewBitmap(width < 1 ? 1 : width, height < 1 ? 1 : height, 32, true);
    std::lock_guard g(m_);
    surfaces_[id].surface = s;
    return s;
}

void Headless::DestroySurface(uintptr_t id) {
    std::lock_guard g(m_);
    surfaces_.erase(id);
}

void Headless::Place(uintptr_t id, const RECT& screen, bool visible, WindowKind kind) {
    std::lock_guard g(m_);
    auto& s = surfaces_[id];
    s.screen = screen;
    s.visible = visible;
    s.kind = kind;
}

void Headless::SetShape(uintptr_t id, const gdi::Region* shape) {
    std::lock_guard g(m_);
    auto& s = surfaces_[id];
    s.shaped = shape != nullptr;
    s.shape = shape ? *shape : gdi::Region();
}

void Headless::SetOpacity(uintptr_t id, int alpha, bool perPixel) {
    std::lock_guard g(m_);
    auto& s = surfaces_[id];
    s.alpha = alpha;
    s.perPixel = perPixel;
}

void Headless::Present(uintptr_t id, const RECT&) {
    std::lock_guard g(m_);
    auto it = surfaces_.find(id);
    if (it != surfaces_.end()) ++it->second.presents;
}

const Headless::SurfaceState* Headless::Surface(uintptr_t id) const {
    auto it = surfaces_.find(id);
    return it == surfaces_.end() ? nullptr : &it->second;
}

void Headless::Push(RawInput ev) {
    {
        std::lock_guard g(m_);
        input_.push_back(std::move(ev));
    }
    cv_.notify_all();
}

void Headless::PushAtMouse(RawInput::Kind kind, int button, int delta) {
    RawInput ev;
    ev.kind = kind;
    ev.pt = mouse_;
    ev.button = button;
    ev.delta = delta;
    Push(ev);
}

void Headless::MoveMouse(int x, int y) {
    mouse_ = {x, y};
    PushAtMouse(RawInput::MouseMove);
}

void Headless::Press(int button) {
    PushAtMouse(RawInput::ButtonDown, button);
}

void Headless::Release(int button) {
    PushAtMouse(RawInput::ButtonUp, button);
}

void Headless::Click(int x, int y, int button) {
    MoveMouse(x, y);
    Press(button);
    Release(button);
}

void Headless::Wheel(int delta) {
    PushAtMouse(RawInput::Wheel, 0, delta);
}

void Headless::KeyDown(int vk) {
    RawInput ev;
    ev.kind = RawInput::KeyDown;
    ev.vk = vk;
    Push(ev);
}

void Headless::KeyUp(int vk) {
    RawInput ev;
    ev.kind = RawInput::KeyUp;
    ev.vk = vk;
    Push(ev);
}

void Headless::Type(const std::u32string& text) {
    RawInput ev;
    ev.kind = RawInput::Text;
    ev.text = text;
    Push(ev);
}

bool Headless::InputPending() {
    std::lock_guard g(m_);
    return !input_.empty();
}

bool Headless::PollInput(RawInput& ev) {
    std::lock_guard g(m_);
    if (input_.empty()) return false;
    ev = std::move(input_.front());
    input_.pop_front();
    return true;
}

void Headless::SetIdleHandler(std::function<void()> handler) {
    std::lock_guard g(m_);
    idle_ = std::move(handler);
}

void Headless::Wait(int timeoutMs) {
    std::function<void()> idle;
    {
        std::lock_guard g(m_);
        if (input_.empty() && !woken_) idle = idle_;
    }
    if (idle) idle();
    std::unique_lock g(m_);
    auto ready = [&] { return woken_ || !input_.empty(); };
    if (timeoutMs < 0)
        cv_.wait(g, ready);
    else
        cv_.wait_for(g, std::chrono::milliseconds(timeoutMs), ready);
    woken_ = false;
}

void Headless::Wake() {
    {
        std::lock_guard g(m_);
        woken_ = true;
    }
    cv_.notify_all();
}

void Headless::SetClipboardText(const std::string& utf8) {
    std::lock_guard g(m_);
    clipboard_ = utf8;
}

std::string Headless::ClipboardText() {
    std::lock_guard g(m_);
    return clipboard_;
}

} // namespace display

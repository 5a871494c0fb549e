#include "app/PreviewWindows.h"

#include "gui/Application.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Messages.h"

#include <algorithm>
#include <vector>

namespace app {
namespace {

struct Registry {
    std::vector<HWND> windows;
    gui::TMessageEvent saved; // the handler in front of which ours went
    bool installed = false;   // ours is somewhere in the application's chain
};

Registry& R() {
    static Registry r;
    return r;
}

// A type of its own, so that the application's handler can be recognised as ours.
struct PreviewMessageHandler {
    void operator()(MSG& msg, bool& handled) const {
        if (msg.message == WM_LBUTTONDOWN && TPreviewWindows::Contains(msg.hwnd)) {
            // The picture is the caption: the window follows the mouse until the button is up.
            ReleaseCapture();
            SendMessage(msg.hwnd, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
            handled = true;
            return;
        }
        if (gui::TMessageEvent next = R().saved) next(msg, handled);
    }
};

} // namespace

void TPreviewWindows::Add(HWND AHandle) {
    Registry& r = R();
    if (Contains(AHandle)) return;
    r.windows.push_back(AHandle);
    if (r.installed || !gui::Application) return;
    r.saved = gui::Application->OnMessage;
    gui::Application->OnMessage = PreviewMessageHandler{};
    r.installed = true;
}

void TPreviewWindows::Remove(HWND AHandle) {
    Registry& r = R();
    std::erase(r.windows, AHandle);
    if (!r.windows.empty() || !r.installed || !gui::Application) return;
    if (!gui::Application->OnMessage.target<PreviewMessageHandler>()) return;
    gui::Application->OnMessage = std::move(r.saved);
    r.saved = nullptr;
    r.installed = false;
}

bool TPreviewWindows::Contains(HWND AHandle) {
    const std::vector<HWND>& w = R().windows;
    return AHandle && std::find(w.begin(), w.end(), AHandle) != w.end();
}

} // namespace app

#include "display/x11/X11Backend.h"

#include "gdi/text/Utf8.h"
#include "os/Text.h"

#include <X11/Xatom.h>

#include <chrono>
#include <poll.h>

namespace display {

namespace {

// A reader that never answers must not hang the GUI.
constexpr int kSelectionWaitMs = 1000;

// Latin-1 for readers that only know STRING; what it cannot hold shows as '?'.
std::string Utf8ToLatin1(const std::string& s) {
    std::string out;
    for (char32_t c : gdi::text::DecodeUtf8(s)) out += c <= 0xFF ? static_cast<char>(c) : '?';
    return out;
}

} // namespace

void X11Backend::SetClipboardText(const std::string& utf8) {
    clipboard_ = utf8;
    XSetSelectionOwner(dpy_, atoms_.clipboard, helper_, lastTime_);
    XFlush(dpy_);
}

std::string X11Backend::ClipboardText() {
    ::Window owner = XGetSelectionOwner(dpy_, atoms_.clipboard);
    if (owner == helper_) return clipboard_;
    if (owner == None) return {};
    std::string text = ReadSelection(atoms_.utf8);
    if (text.empty()) text = os::Latin1ToUtf8(ReadSelection(XA_STRING));
    return text;
}

bool X11Backend::WaitForEvent(::Window w, int type, XEvent& out, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (XCheckTypedWindowEvent(dpy_, w, type, &out)) return true;
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) return false;
        pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
}

std::string X11Backend::ReadSelection(Atom target) {
    XDeleteProperty(dpy_, helper_, atoms_.transfer);
    XConvertSelection(dpy_, atoms_.clipboard, target, atoms_.transfer, helper_, lastTime_);
    XEvent e;
    if (!WaitForEvent(helper_, SelectionNotify, e, kSelectionWaitMs) || e.xselection.property == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    // Transfers in pieces (INCR) are for texts far beyond what our fields hold: not taken.
    if (XGetWindowProperty(dpy_, helper_, atoms_.transfer, 0, 0x1000000, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        format == 8 && (type == atoms_.utf8 || type == XA_STRING) && data)
        text.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    return text;
}

void X11Backend::OnSelectionRequest(const XSelectionRequestEvent& e) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = dpy_;
    reply.requestor = e.requestor;
    reply.selection = e.selection;
    reply.target = e.target;
    reply.time = e.time;
    reply.property = None;
    // Old clients name no property: the target's name is used then.
    Atom prop = e.property != None ? e.property : e.target;
    bool ours = e.selection == atoms_.clipboard && XGetSelectionOwner(dpy_, atoms_.clipboard) == helper_;
    if (ours && e.target == atoms_.targets) {
        Atom targets[] = {atoms_.targets, atoms_.utf8, XA_STRING};
        XChangeProperty(dpy_, e.requestor, prop, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(targets), 3);
        reply.property = prop;
    } else if (ours && (e.target == atoms_.utf8 || e.target == XA_STRING)) {
        std::string data = e.target == XA_STRING ? Utf8ToLatin1(clipboard_) : clipboard_;
        XChangeProperty(dpy_, e.requestor, prop, e.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
        reply.property = prop;
    }
    XSendEvent(dpy_, e.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(dpy_);
}

} // namespace display

// Typed text through the X input method, so that a Chinese input method
// (fcitx, ibus) can compose into our edits.  Without an input-method server
// Xlib's own one still composes dead keys; without any, keys type their own
// symbols.
#include "display/x11/X11Backend.h"
#include "display/x11/X11Keys.h"

#include <cstring>
#include <vector>

namespace display {

namespace {

// Our windows ask for these whatever the input method wants on top.
constexpr long kWindowEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               KeyPressMask | KeyReleaseMask | StructureNotifyMask | EnterWindowMask |
                               LeaveWindowMask | PropertyChangeMask | FocusChangeMask;

std::u32string FromUtf8(const char* s, size_t n) {
    std::u32string out;
    for (size_t i = 0; i < n;) {
        auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= n) {
            ++i; // a broken sequence is skipped, not guessed at
            continue;
        }
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            auto cont = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cont & 0xC0) != 0x80) ok = false;
            c = (c << 6) | (cont & 0x3F);
        }
        i += ok ? static_cast<size_t>(extra) + 1 : 1;
        if (ok) out.push_back(c);
    }
    return out;
}

} // namespace

long X11Backend::WindowEvents() {
    return kWindowEvents;
}

void X11Backend::OpenInputMethod() {
    // The program sets LC_CTYPE from the environment; XMODIFIERS names the
    // input-method server.  Xlib's built-in method (compose only) stands in
    // when the named server is not there.
    if (!XSupportsLocale()) return;
    for (const char* modifiers : {"", "@im=none"}) {
        if (!XSetLocaleModifiers(modifiers)) continue;
        im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
        if (im_) break;
    }
    if (!im_) return;
    XIMStyles* styles = nullptr;
    if (XGetIMValues(im_, XNQueryInputStyle, &styles, nullptr) || !styles) {
        XCloseIM(im_);
        im_ = nullptr;
        return;
    }
    // Root style: the input method shows its own preedit and candidate windows.
    for (XIMStyle want : {XIMPreeditNothing | XIMStatusNothing, XIMPreeditNone | XIMStatusNone})
        for (unsigned short i = 0; i < styles->count_styles && !imStyle_; ++i)
            if (styles->supported_styles[i] == want) imStyle_ = want;
    XFree(styles);
    if (!imStyle_) {
        XCloseIM(im_);
        im_ = nullptr;
        return;
    }
    // A server that goes away takes its contexts with it: forget them.
    XIMCallback gone{reinterpret_cast<XPointer>(this), [](XIM, XPointer self, XPointer) {
                         auto* b = reinterpret_cast<X11Backend*>(self);
                         b->im_ = nullptr;
                         for (auto& [id, w] : b->wins_) w.ic = nullptr;
                     }};
    XSetIMValues(im_, XNDestroyCallback, &gone, nullptr);
}

void X11Backend::CreateInputContext(Win& w) {
    if (!im_ || w.ic) return;
    w.ic = XCreateIC(im_, XNInputStyle, imStyle_, XNClientWindow, w.xid, XNFocusWindow, w.xid, nullptr);
    if (!w.ic) return;
    long extra = 0;
    if (!XGetICValues(w.ic, XNFilterEvents, &extra, nullptr))
        XSelectInput(dpy_, w.xid, kWindowEvents | extra);
}

void X11Backend::DestroyInputContext(Win& w) {
    if (w.ic) XDestroyIC(w.ic);
    w.ic = nullptr;
}

void X11Backend::FocusInputContext(::Window xid, bool in) {
    Win* w = FindX(xid);
    if (!w || !w->ic) return;
    if (in)
        XSetICFocus(w->ic);
    else
        XUnsetICFocus(w->ic);
}

std::u32string X11Backend::TypedText(XKeyEvent& e) {
    Win* w = FindX(e.window);
    std::u32string text;
    if (w && w->ic) {
        char buf[64];
        std::vector<char> big;
        KeySym sym = NoSymbol;
        Status status = 0;
        int n = Xutf8LookupString(w->ic, &e, buf, sizeof buf, &sym, &status);
        const char* s = buf;
        if (status == XBufferOverflow) {
            // A long commit from the input method.
            big.resize(static_cast<size_t>(n) + 1);
            n = Xutf8LookupString(w->ic, &e, big.data(), static_cast<int>(big.size()), &sym, &status);
            s = big.data();
        }
        if (status == XLookupChars || status == XLookupBoth) text = FromUtf8(s, static_cast<size_t>(n));
    } else {
        KeySym sym = NoSymbol;
        char buf[16];
        XLookupString(&e, buf, sizeof buf, &sym, nullptr);
        if (char32_t c = x11::CharacterOf(sym)) text.push_back(c);
    }
    // Control characters come from the keys themselves (Enter, Tab, Backspace).
    std::erase_if(text, [](char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); });
    return text;
}

} // namespace display

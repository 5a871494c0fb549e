#pragma once
// The base of every native control: one object per window, created on
// WM_NCCREATE and released after WM_NCDESTROY, kept alive while any of its
// messages is being handled (a control destroyed from a notice handler stays
// valid memory until its own handler returns).  Shared pieces live here:
// fonts and text measuring, notices to the parent, scroll arithmetic.
#include "controls/CommCtrl.h"

#include <memory>
#include <string>

namespace controls {

class ControlWindow {
public:
    explicit ControlWindow(HWND h);
    virtual ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    // Registers a class whose windows are objects of T, with a stock cursor (IDC_ names).
    template <class T> static void Register(const char* name, UINT classStyle, const char* cursor) {
        RegisterControlClass(name, classStyle, cursor, &Dispatch<T>);
    }

    HWND Handle() const { return hwnd_; }

protected:
    // Everything not handled goes to DefWindowProc.
    virtual LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

    DWORD Style() const;
    int CtrlId() const;
    HWND Parent() const;
    RECT Client() const;
    bool Focused() const;
    bool Enabled() const;

    // WM_COMMAND to the parent: the control's id and the code, the handle in lParam.
    void NotifyCommand(WORD code);
    // WM_NOTIFY to the parent; hdr's first fields are filled in here.
    LRESULT NotifyParent(NMHDR& hdr, int code);

    // The font set by WM_SETFONT (the GUI font until then) and a DC with it
    // selected for measuring.
    HFONT Font() const { return font_; }
    void SetFont(HFONT f);
    HDC MeasureDC() const { return measure_; }
    int LineHeight() const { return lineHeight_; }
    int AverageCharWidth() const { return aveCharWidth_; }
    int TextWidth(const std::string& s) const;
    // Selects the control's font into a paint DC; answers the font it replaced.
    HGDIOBJ SelectFont(HDC dc) const;

    // The window's own scroll state (what GetScrollInfo answers; no bars are drawn).
    void SetScroll(int bar, int min, int max, int page, int pos);

    // The new position for a WM_VSCROLL/WM_HSCROLL code, clamped to
    // min..max-page+1; thumbPos is the position the thumb codes carry.
    static int ScrollTarget(int code, int thumbPos, int pos, int min, int max, int page, int line = 1);

private:
    static void RegisterControlClass(const char* name, UINT classStyle, const char* cursor, WNDPROC proc);
    using Factory = std::shared_ptr<ControlWindow> (*)(HWND);
    static LRESULT Route(HWND h, UINT msg, WPARAM wp, LPARAM lp, Factory make);
    template <class T> static LRESULT Dispatch(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        return Route(h, msg, wp, lp,
                     [](HWND w) -> std::shared_ptr<ControlWindow> { return std::make_shared<T>(w); });
    }

    HWND hwnd_;
    HFONT font_ = nullptr;
    HDC measure_ = nullptr;
    int lineHeight_ = 0;
    int aveCharWidth_ = 0;
};

} // namespace controls

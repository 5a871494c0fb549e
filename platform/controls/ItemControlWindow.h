#pragma once
// The base of the two item views, list view and tree view: the messages they answer alike
// (painting held back by WM_SETREDRAW, focus notices, keys, clicks) and the state of the
// in-place label edit and type-ahead search they both keep.
#include "controls/ControlWindow.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

class ItemControlWindow : public ControlWindow {
public:
    using ControlWindow::ControlWindow;

protected:
    // Answers the messages the item views handle alike; false for any other.
    bool ItemViewProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // On WM_DESTROY: no pending edit start, and an open label edit goes with the view.
    void DestroyLabelEdit(uintptr_t editTimer);
    // Opens the in-place label edit at x, y with the text and takes the focus to it; Enter and
    // Escape end it through EndEdit, and it wants every key meanwhile.  `remember` notes which
    // item is edited, before the focus moves.  Null when no edit could be made.
    HWND OpenLabelEdit(const std::string& text, int x, int y, int w, int h,
                       const std::function<void()>& remember);
    virtual void EndEdit(bool commit) = 0;

    virtual void Paint(HDC given) = 0;
    virtual void UpdateScrollInfo() = 0;
    virtual void OnKey(int vk) = 0;
    virtual void OnChar(char32_t c) = 0;
    virtual void OnButtonDown(POINT pt, bool right, bool dbl) = 0;
    // NM_CLICK or NM_RCLICK once a button that went down on the view comes up.
    virtual void NotifyClick(int code, POINT pt);

    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr, editOldProc_ = nullptr;
    bool editPending_ = false; // a click on the focused item waits to start editing
    bool clickDown_ = false, rightDown_ = false;
    bool redraw_ = true; // WM_SETREDRAW: painting is held back while false
    std::string search_;
    uint32_t searchTime_ = 0;
};

} // namespace controls

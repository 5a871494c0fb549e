#pragma once
// The "Edit" class: single-line and multi-line text editing with caret,
// selection by mouse and keys, clipboard, one level of undo (undoing twice
// redoes, as Win32's edit does), formatting rectangle and margins, password
// character, text limit (counted in characters), character case, read-only,
// hidden selection, scrolling, EN_UPDATE/EN_CHANGE and WM_CTLCOLOREDIT.
// Multi-line text breaks lines at CR LF (a lone LF breaks too) and wraps
// words unless ES_AUTOHSCROLL or WS_HSCROLL is set.
#include "controls/ControlWindow.h"

#include <optional>
#include <vector>

namespace controls {

class Edit : public ControlWindow {
public:
    explicit Edit(HWND h);

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // A displayed line: [start, end) is drawn, next is where the following line starts.
    struct Line {
        size_t start = 0, end = 0, next = 0;
        int width = 0;
    };
    struct Undo {
        size_t pos = 0;
        std::string removed, inserted;
        bool typing = false;
    };
    enum class Change { Typing, Other, NoUndo };

    bool Multi() const;
    bool Wraps() const;
    bool ReadOnly() const;
    void ResetFormatRect();
    void Layout(size_t from);
    void EnsureLayout();
    std::vector<int> Offsets(size_t start, size_t end) const;
    std::string Shown(size_t start, size_t end) const;
    int LineOf(size_t pos) const;
    int VisibleLines() const;
    int AlignShift(const Line& line) const;
    POINT PosOf(size_t pos);
    size_t PosAt(POINT p);
    size_t WordStart(size_t pos) const;
    size_t WordEnd(size_t pos) const;
    size_t BreakLength(size_t pos) const;

    void SetSel(size_t anchor, size_t caret, bool scroll);
    void Replace(std::string insert, Change how);
    void Notify(bool changed);
    void UndoOnce();
    void Copy();
    void Paste();
    void Cut();
    void Clear();
    void ScrollCaret();
    void ScrollLines(int first);
    void UpdateScroll();
    void PlaceCaret();
    void Paint();
    void OnKey(int vk);
    void OnChar(char32_t c);
    void SetText(const std::string& text);
    void DragTo(POINT p);
    void DragStep();

    std::string text_;
    size_t chars_ = 0; // characters in text_, kept so that appending stays cheap
    size_t anchor_ = 0, caret_ = 0;
    size_t limit_ = 0x7FFFFFFE; // characters
    char32_t password_ = 0;
    int leftMargin_ = 1, rightMargin_ = 1;
    RECT format_{};
    std::vector<Line> lines_;
    bool layoutDirty_ = true;
    int firstLine_ = 0;
    int xOffset_ = 0;
    int preferredX_ = -1;
    std::optional<Undo> undo_;
    bool modified_ = false;
    bool selecting_ = false;
    POINT dragAt_{}; // where the pointer is while selecting
};

} // namespace controls

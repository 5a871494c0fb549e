#include "controls/Edit.h"

#include "controls/Utf8Text.h"
#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace controls {

namespace {
constexpr int kTabChars = 8;   // tab stops every eight average characters
constexpr int kWheelLines = 3; // lines per wheel notch
constexpr DWORD kDlgHasSetSel = 8;
constexpr uintptr_t kDragTimer = 1;
constexpr UINT kDragStepMs = 50; // a drag held beyond an edge selects one more character or line this often
bool Down(int vk) {
    return GetKeyState(vk) < 0;
}
} // namespace

Edit::Edit(HWND h) : ControlWindow(h) {}

bool Edit::Multi() const {
    return Style() & ES_MULTILINE;
}

bool Edit::Wraps() const {
    return Multi() && !(Style() & (static_cast<DWORD>(ES_AUTOHSCROLL) | static_cast<DWORD>(WS_HSCROLL)));
}

bool Edit::ReadOnly() const {
    return Style() & ES_READONLY;
}

void Edit::ResetFormatRect() {
    RECT c = Client();
    format_ = {c.left + leftMargin_, c.top, std::max(c.left + leftMargin_, c.right - rightMargin_), c.bottom};
    layoutDirty_ = true;
}

size_t Edit::BreakLength(size_t pos) const {
    if (!Multi() || pos >= text_.size()) return 0;
    if (text_[pos] == '\r' && pos + 1 < text_.size() && text_[pos + 1] == '\n') return 2;
    return text_[pos] == '\n' ? 1 : 0;
}

std::string Edit::Shown(size_t start, size_t end) const {
    if (!password_) return text_.substr(start, end - start);
    std::string mask = text::Encode(password_), out;
    for (size_t i = start; i < end; i = text::Next(text_, i)) out += mask;
    return out;
}

// Pixel offset of every character boundary in [start, end), tabs expanded in multi-line text.
std::vector<int> Edit::Offsets(size_t start, size_t end) const {
    std::vector<int> xs{0};
    int tab = kTabChars * AverageCharWidth();
    size_t i = start;
    while (i < end) {
        size_t segEnd = i;
        while (segEnd < end && !(Multi() && text_[segEnd] == '\t')) segEnd = text::Next(text_, segEnd);
        if (segEnd > i) {
            std::string shown = Shown(i, segEnd);
            size_t n = text::CountChars(text_.substr(i, segEnd - i));
            std::vector<int> dx(text::CountChars(shown) + 1, 0);
            SIZE sz{};
            GetTextExtentExPoint(MeasureDC(), shown.c_str(), static_cast<int>(shown.size()), 0, nullptr,
                                 dx.data(), &sz);
            int base = xs.back();
            size_t per = n ? text::CountChars(shown) / n : 1; // a mask may be several characters
            for (size_t k = 1; k <= n; ++k) xs.push_back(base + dx[k * per - 1]);
            i = segEnd;
        }
        if (i < end) { // a tab
            int x = xs.back();
            xs.push_back((x / tab + 1) * tab);
            ++i;
        }
    }
    return xs;
}

void Edit::Layout(size_t from) {
    // Lines before the one holding 'from' keep their places: appending to a long log re-lays only its end.
    size_t keep = 0;
    if (!layoutDirty_ && from > 0) {
        int li = std::max(0, LineOf(from));
        while (li > 0 && lines_[li - 1].end == lines_[li].start) --li; // back to the paragraph start
        keep = static_cast<size_t>(li);
    }
    size_t pos = keep < lines_.size() ? lines_[keep].start : 0;
    lines_.resize(keep);
    int width = format_.right - format_.left;
    for (;;) {
        size_t paraEnd = pos;
        while (paraEnd < text_.size() && !BreakLength(paraEnd)) ++paraEnd;
        size_t after = paraEnd + BreakLength(paraEnd);
        if (!Multi()) paraEnd = after = text_.size();
        if (Wraps() && width > 0) {
            std::vector<int> xs = Offsets(pos, paraEnd);
            size_t s = pos;
            size_t k0 = 0; // index in xs of s
            while (true) {
                // Walk characters until the next would pass the width.
                size_t i = s, k = k0, lastSpace = std::string::npos, lastSpaceK = 0;
                while (i < paraEnd && xs[k + 1] - xs[k0] <= width) {
                    if (text::IsSpace(text::At(text_, i))) lastSpace = i, lastSpaceK = k;
                    i = text::Next(text_, i), ++k;
                }
                if (i >= paraEnd) {
                    lines_.push_back({s, paraEnd, after, xs[k] - xs[k0]});
                    break;
                }
                size_t cut = i, cutK = k;
                if (lastSpace != std::string::npos) {
                    cut = text::Next(text_, lastSpace), cutK = lastSpaceK + 1;
                } else if (cut == s) {
                    cut = text::Next(text_, s), cutK = k0 + 1; // at least one character per line
                }
                lines_.push_back({s, cut, cut, xs[cutK] - xs[k0]});
                s = cut, k0 = cutK;
            }
        } else {
            std::vector<int> xs = Offsets(pos, paraEnd);
            lines_.push_back({pos, paraEnd, after, xs.back()});
        }
        if (after >= text_.size() && (after == paraEnd || !Multi())) break;
        pos = after;
        if (pos >= text_.size()) { // text ending in a line break has an empty last line
            lines_.push_back({pos, pos, pos, 0});
            break;
        }
    }
    layoutDirty_ = false;
}

void Edit::EnsureLayout() {
    if (layoutDirty_) Layout(0);
}

int Edit::LineOf(size_t pos) const {
    auto it = std::upper_bound(lines_.begin(), lines_.end(), pos,
                               [](size_t p, const Line& l) { return p < l.start; });
    int li = static_cast<int>(it - lines_.begin()) - 1;
    li = std::max(0, li);
    // A position at a wrapped line's end belongs to the next line, as the caret shows it there.
    return std::min<int>(li, static_cast<int>(lines_.size()) - 1);
}

int Edit::VisibleLines() const {
    return std::max(1, (format_.bottom - format_.top) / LineHeight());
}

int Edit::AlignShift(const Line& line) const {
    int room = format_.right - format_.left - line.width;
    if (room <= 0) return 0;
    if (Style() & ES_CENTER) return room / 2;
    if (Style() & ES_RIGHT) return room;
    return 0;
}

POINT Edit::PosOf(size_t pos) {
    EnsureLayout();
    int li = LineOf(pos);
    const Line& l = lines_[li];
    std::vector<int> xs = Offsets(l.start, l.end);
    size_t k = text::CountChars(text_.substr(l.start, std::min(pos, l.end) - l.start));
    int x = format_.left - xOffset_ + AlignShift(l) + xs[std::min(k, xs.size() - 1)];
    int y = format_.top + (Multi() ? (li - firstLine_) * LineHeight() : 0);
    return {x, y};
}

size_t Edit::PosAt(POINT p) {
    EnsureLayout();
    int li = Multi() ? firstLine_ + (p.y - format_.top) / LineHeight() - (p.y < format_.top ? 1 : 0) : 0;
    li = std::clamp(li, 0, static_cast<int>(lines_.size()) - 1);
    const Line& l = lines_[li];
    std::vector<int> xs = Offsets(l.start, l.end);
    int x = p.x - (format_.left - xOffset_ + AlignShift(l));
    size_t pos = l.start;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
        if (x < (xs[k] + xs[k + 1] + 1) / 2) return pos;
        pos = text::Next(text_, pos);
    }
    return std::min(pos, l.end);
}

size_t Edit::WordStart(size_t pos) const {
    while (pos > 0 && text::IsSpace(text::At(text_, text::Prev(text_, pos)))) pos = text::Prev(text_, pos);
    while (pos > 0 && !text::IsSpace(text::At(text_, text::Prev(text_, pos)))) pos = text::Prev(text_, pos);
    return pos;
}

size_t Edit::WordEnd(size_t pos) const {
    while (pos < text_.size() && !text::IsSpace(text::At(text_, pos))) pos = text::Next(text_, pos);
    while (pos < text_.size() && text::IsSpace(text::At(text_, pos))) pos = text::Next(text_, pos);
    return pos;
}

void Edit::SetSel(size_t anchor, size_t caret, bool scroll) {
    anchor_ = text::Snap(text_, std::min(anchor, text_.size()));
    caret_ = text::Snap(text_, std::min(caret, text_.size()));
    // A position inside a CR LF pair moves before it.
    if (caret_ > 0 && caret_ < text_.size() && text_[caret_] == '\n' && text_[caret_ - 1] == '\r') --caret_;
    if (anchor_ > 0 && anchor_ < text_.size() && text_[anchor_] == '\n' && text_[anchor_ - 1] == '\r')
        --anchor_;
    if (scroll) ScrollCaret();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Edit::Notify(bool changed) {
    if (!changed) return;
    NotifyCommand(EN_UPDATE);
    if (!IsWindow(Handle())) return;
    UpdateScroll();
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyCommand(EN_CHANGE);
}

// Replaces the selection by insert (already filtered by the caller), keeping the limit and the undo record.
void Edit::Replace(std::string insert, Change how) {
    size_t a = std::min(anchor_, caret_), b = std::max(anchor_, caret_);
    std::string removed = text_.substr(a, b - a);
    if (Style() & ES_UPPERCASE) insert = text::ToUpper(insert);
    if (Style() & ES_LOWERCASE) insert = text::ToLower(insert);
    size_t removedChars = text::CountChars(removed);
    size_t keep = chars_ - removedChars;
    size_t room = limit_ > keep ? limit_ - keep : 0;
    bool cut = false;
    if (text::CountChars(insert) > room) {
        size_t i = 0;
        for (size_t n = 0; n < room; ++n) i = text::Next(insert, i);
        insert.resize(i);
        cut = true;
    }
    if (removed.empty() && insert.empty()) {
        if (cut) NotifyCommand(EN_MAXTEXT);
        return;
    }
    if (how == Change::NoUndo) {
        undo_.reset();
    } else if (how == Change::Typing && removed.empty() && undo_ && undo_->typing &&
               undo_->pos + undo_->inserted.size() == a) {
        undo_->inserted += insert; // a run of typing undoes as one
    } else {
        undo_ = Undo{a, removed, insert, how == Change::Typing};
    }
    text_.replace(a, b - a, insert);
    chars_ = keep + text::CountChars(insert);
    modified_ = true;
    size_t from = a;
    Layout(from);
    anchor_ = caret_ = a + insert.size();
    preferredX_ = -1;
    ScrollCaret();
    PlaceCaret();
    if (cut) NotifyCommand(EN_MAXTEXT);
    Notify(true);
}

void Edit::UndoOnce() {
    if (!undo_ || ReadOnly()) return;
    Undo u = *undo_;
    text_.replace(u.pos, u.inserted.size(), u.removed);
    chars_ = text::CountChars(text_);
    undo_ = Undo{u.pos, u.inserted, u.removed, false};
    modified_ = true;
    Layout(u.pos);
    anchor_ = u.pos;
    caret_ = u.pos + u.removed.size();
    ScrollCaret();
    PlaceCaret();
    Notify(true);
}

void Edit::Copy() {
    if (password_) return; // a password never leaves the control
    size_t a = std::min(anchor_, caret_), b = std::max(anchor_, caret_);
    if (a < b) win::SetClipboardText(text_.substr(a, b - a));
}

void Edit::Cut() {
    if (ReadOnly() || password_ || anchor_ == caret_) return;
    Copy();
    Replace({}, Change::Other);
}

void Edit::Clear() {
    if (ReadOnly() || anchor_ == caret_) return;
    Replace({}, Change::Other);
}

void Edit::Paste() {
    if (ReadOnly() || !win::HasClipboardText()) return;
    std::string s = win::GetClipboardText();
    if (!Multi()) { // one line: the text up to its first line break, as Win32 pastes it
        size_t br = s.find_first_of("\r\n");
        if (br != std::string::npos) s.resize(br);
    }
    if (Style() & ES_NUMBER)
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c < '0' || c > '9'; }), s.end());
    Replace(s, Change::Other);
}

void Edit::ScrollCaret() {
    EnsureLayout();
    int width = format_.right - format_.left;
    if (Multi()) {
        int li = LineOf(caret_);
        int first = firstLine_;
        if (li < first) first = li;
        if (li >= first + VisibleLines()) first = li - VisibleLines() + 1;
        if (first != firstLine_) ScrollLines(first);
    }
    if (Wraps()) {
        xOffset_ = 0;
    } else {
        const Line& l = lines_[LineOf(caret_)];
        std::vector<int> xs = Offsets(l.start, l.end);
        int x = xs[std::min(text::CountChars(text_.substr(l.start, caret_ - l.start)), xs.size() - 1)];
        int old = xOffset_;
        if (x < xOffset_) xOffset_ = std::max(0, x - width / 4);
        if (x >= xOffset_ + width) xOffset_ = x - width + width / 4 + 1;
        // No empty room right of the text while some of it is scrolled off.
        if (!Multi()) xOffset_ = std::max(0, std::min(xOffset_, l.width - width + 1));
        if (old != xOffset_) {
            InvalidateRect(Handle(), nullptr, TRUE);
            NotifyCommand(EN_HSCROLL);
        }
    }
    UpdateScroll();
}

void Edit::ScrollLines(int first) {
    EnsureLayout();
    int maxFirst = std::max(0, static_cast<int>(lines_.size()) - VisibleLines());
    first = std::clamp(first, 0, std::max(maxFirst, std::min(first, static_cast<int>(lines_.size()) - 1)));
    first = std::clamp(first, 0, static_cast<int>(lines_.size()) - 1);
    if (first == firstLine_) return;
    firstLine_ = first;
    UpdateScroll();
    PlaceCaret();
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyCommand(EN_VSCROLL);
}

void Edit::UpdateScroll() {
    if (!Multi()) return;
    EnsureLayout();
    SetScroll(SB_VERT, 0, static_cast<int>(lines_.size()) - 1, VisibleLines(), firstLine_);
    if (!Wraps()) {
        int widest = 0;
        for (const Line& l : lines_) widest = std::max(widest, l.width);
        SetScroll(SB_HORZ, 0, widest, format_.right - format_.left, xOffset_);
    }
}

void Edit::PlaceCaret() {
    if (!Focused()) return;
    POINT p = PosOf(caret_);
    SetCaretPos(p.x, p.y);
}

void Edit::SetText(const std::string& t) {
    text_ = t;
    chars_ = text::CountChars(text_);
    anchor_ = caret_ = 0;
    firstLine_ = 0;
    xOffset_ = 0;
    undo_.reset();
    modified_ = false;
    layoutDirty_ = true;
    EnsureLayout();
    PlaceCaret();
    Notify(true);
}

// Selecting with the pointer beyond the text's edge keeps scrolling and selecting, as Win32's edit does.
void Edit::DragTo(POINT p) {
    dragAt_ = p;
    SetSel(anchor_, PosAt(p), true);
    bool beyond = p.x < format_.left || p.x >= format_.right ||
                  (Multi() && (p.y < format_.top || p.y >= format_.bottom));
    if (beyond)
        SetTimer(Handle(), kDragTimer, kDragStepMs, nullptr);
    else
        KillTimer(Handle(), kDragTimer);
}

void Edit::DragStep() {
    if (!selecting_) {
        KillTimer(Handle(), kDragTimer);
        return;
    }
    EnsureLayout();
    size_t to = caret_;
    if (Multi() && (dragAt_.y < format_.top || dragAt_.y >= format_.bottom)) {
        int li = LineOf(caret_) + (dragAt_.y < format_.top ? -1 : 1);
        li = std::clamp(li, 0, static_cast<int>(lines_.size()) - 1);
        ScrollLines(dragAt_.y < format_.top ? std::min(firstLine_, li)
                                            : std::max(firstLine_, li - VisibleLines() + 1));
        int y = format_.top + (li - firstLine_) * LineHeight();
        to = PosAt({dragAt_.x, y});
    } else if (dragAt_.x < format_.left) {
        to = text::Prev(text_, caret_);
    } else if (dragAt_.x >= format_.right) {
        to = text::Next(text_, caret_);
    }
    SetSel(anchor_, to, true);
}

void Edit::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    EnsureLayout();
    HGDIOBJ oldFont = SelectFont(dc);
    bool plain = ReadOnly() || !Enabled();
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(plain ? COLOR_BTNFACE : COLOR_WINDOW));
    HBRUSH bg = reinterpret_cast<HBRUSH>(SendMessage(Parent(), plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(Handle())));
    if (!IsWindow(Handle())) return;
    if (!Enabled()) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT c = Client();
    if (bg) FillRect(dc, &c, bg);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, format_.left, format_.top, format_.right, format_.bottom);
    bool showSel = Focused() || (Style() & ES_NOHIDESEL);
    size_t a = std::min(anchor_, caret_), b = std::max(anchor_, caret_);
    int first = Multi() ? firstLine_ : 0;
    int last = Multi() ? std::min<int>(lines_.size(), first + VisibleLines() + 1) : 1;
    for (int li = first; li < last; ++li) {
        const Line& l = lines_[li];
        int y = format_.top + (li - first) * LineHeight();
        int x0 = format_.left - xOffset_ + AlignShift(l);
        std::vector<int> xs = Offsets(l.start, l.end);
        // Draw the line in runs: before, inside and after the selection.
        size_t cuts[4] = {l.start, std::clamp(a, l.start, l.end), std::clamp(b, l.start, l.end), l.end};
        for (int part = 0; part < 3; ++part) {
            size_t s = cuts[part], e = cuts[part + 1];
            if (s >= e) continue;
            bool sel = part == 1 && showSel;
            int xs0 = xs[text::CountChars(text_.substr(l.start, s - l.start))];
            int xs1 = xs[text::CountChars(text_.substr(l.start, e - l.start))];
            if (sel) {
                RECT r{x0 + xs0, y, x0 + xs1, y + LineHeight()};
                FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            int mode = SetBkMode(dc, TRANSPARENT);
            COLORREF old = sel ? SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT)) : GetTextColor(dc);
            // Tabs are spaces to the next stop: draw each run between tabs where it belongs.
            size_t i = s;
            while (i < e) {
                size_t j = i;
                while (j < e && !(Multi() && text_[j] == '\t')) j = text::Next(text_, j);
                if (j > i) {
                    std::string shown = Shown(i, j);
                    int xi = xs[text::CountChars(text_.substr(l.start, i - l.start))];
                    TextOut(dc, x0 + xi, y, shown.c_str(), static_cast<int>(shown.size()));
                }
                i = j < e ? j + 1 : j;
            }
            SetTextColor(dc, old);
            SetBkMode(dc, mode);
        }
    }
    RestoreDC(dc, saved);
    if (Focused()) { // the caret, one pixel wide
        POINT p = PosOf(caret_);
        RECT r{p.x, p.y, p.x + 1, p.y + LineHeight()};
        if (p.x >= format_.left - 1 && p.x < format_.right + 1) InvertRect(dc, &r);
    }
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &ps);
}

void Edit::OnKey(int vk) {
    bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL);
    EnsureLayout();
    size_t to = caret_;
    bool move = true;
    int li = LineOf(caret_);
    switch (vk) {
    case VK_LEFT:
        if (!shift && !ctrl && anchor_ != caret_)
            to = std::min(anchor_, caret_);
        else if (ctrl)
            to = WordStart(caret_);
        else if (BreakLength(text::Prev(text_, caret_)) == 1 && caret_ >= 2 && text_[caret_ - 2] == '\r')
            to = caret_ - 2;
        else
            to = text::Prev(text_, caret_);
        break;
    case VK_RIGHT:
        if (!shift && !ctrl && anchor_ != caret_)
            to = std::max(anchor_, caret_);
        else if (ctrl)
            to = WordEnd(caret_);
        else
            to = caret_ + std::max<size_t>(BreakLength(caret_),
                                           caret_ < text_.size() ? text::Next(text_, caret_) - caret_ : 0);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!Multi()) {
            to = (vk == VK_UP || vk == VK_PRIOR) ? text::Prev(text_, caret_) : text::Next(text_, caret_);
            break;
        }
        int step = (vk == VK_UP || vk == VK_DOWN) ? 1 : VisibleLines();
        int target = li + ((vk == VK_UP || vk == VK_PRIOR) ? -step : step);
        target = std::clamp(target, 0, static_cast<int>(lines_.size()) - 1);
        POINT p = PosOf(caret_);
        if (preferredX_ < 0) preferredX_ = p.x + xOffset_;
        if (vk == VK_PRIOR || vk == VK_NEXT) ScrollLines(firstLine_ + target - li);
        int y = format_.top + (target - firstLine_) * LineHeight();
        int keep = preferredX_;
        to = PosAt({preferredX_ - xOffset_, y});
        SetSel(shift ? anchor_ : to, to, true);
        preferredX_ = keep;
        return;
    }
    case VK_HOME:
        to = ctrl ? 0 : lines_[li].start;
        break;
    case VK_END:
        to = ctrl ? text_.size() : lines_[li].end;
        break;
    case VK_DELETE:
        move = false;
        if (ReadOnly()) break;
        if (shift) {
            Cut();
        } else if (anchor_ != caret_) {
            Clear();
        } else if (caret_ < text_.size()) {
            anchor_ = caret_ + std::max<size_t>(BreakLength(caret_), text::Next(text_, caret_) - caret_);
            Replace({}, Change::Other);
        }
        break;
    case VK_INSERT:
        move = false;
        if (ctrl)
            Copy();
        else if (shift)
            Paste();
        break;
    default:
        move = false;
        break;
    }
    if (move) {
        preferredX_ = -1;
        SetSel(shift ? anchor_ : to, to, true);
    }
}

void Edit::OnChar(char32_t c) {
    switch (c) {
    case 1: // Ctrl+A
        SetSel(0, text_.size(), false);
        return;
    case 3: // Ctrl+C
        Copy();
        return;
    case 22: // Ctrl+V
        Paste();
        return;
    case 24: // Ctrl+X
        Cut();
        return;
    case 26: // Ctrl+Z
        UndoOnce();
        return;
    case 8: // Backspace
        if (ReadOnly()) return;
        if (anchor_ == caret_ && caret_ > 0) {
            size_t prev = text::Prev(text_, caret_);
            if (text_[prev] == '\n' && prev > 0 && text_[prev - 1] == '\r' && Multi()) --prev;
            anchor_ = prev;
        }
        Replace({}, Change::Other);
        return;
    case '\r':
        if (!Multi() || ReadOnly()) return;
        Replace("\r\n", Change::Typing);
        return;
    case '\t':
        if (!Multi() || ReadOnly()) return;
        Replace("\t", Change::Typing);
        return;
    default:
        break;
    }
    if (c < 32 || c == 127 || ReadOnly()) return;
    if ((Style() & ES_NUMBER) && (c < '0' || c > '9')) {
        MessageBeep(0);
        return;
    }
    Replace(text::Encode(c), Change::Typing);
}

LRESULT Edit::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lp);
        if (cs->lpszName) text_ = cs->lpszName;
        chars_ = text::CountChars(text_);
        if (cs->style & ES_PASSWORD) password_ = '*';
        ResetFormatRect();
        return Default(msg, wp, lp);
    }
    case WM_CREATE:
    case WM_SIZE:
        ResetFormatRect();
        EnsureLayout();
        firstLine_ = std::min(firstLine_, static_cast<int>(lines_.size()) - 1);
        UpdateScroll();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        ControlWindow::Proc(msg, wp, lp);
        ResetFormatRect();
        EnsureLayout();
        PlaceCaret();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_STYLECHANGED:
        layoutDirty_ = true;
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_SETTEXT:
        SetText(lp ? reinterpret_cast<const char*>(lp) : "");
        return TRUE;
    case WM_GETTEXT: {
        if (wp == 0 || !lp) return 0;
        size_t n = std::min(text_.size(), static_cast<size_t>(wp - 1));
        n = text::Snap(text_, n);
        text_.copy(reinterpret_cast<char*>(lp), n);
        reinterpret_cast<char*>(lp)[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text_.size());
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        bool plain = ReadOnly() || !Enabled();
        HBRUSH bg = reinterpret_cast<HBRUSH>(SendMessage(
            Parent(), plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, wp, reinterpret_cast<LPARAM>(Handle())));
        RECT c = Client();
        if (bg) FillRect(dc, &c, bg);
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_WANTARROWS | kDlgHasSetSel | (Multi() ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
        CreateCaret(Handle(), nullptr, 1, LineHeight());
        PlaceCaret();
        ShowCaret(Handle());
        InvalidateRect(Handle(), nullptr, FALSE);
        NotifyCommand(EN_SETFOCUS);
        return 0;
    case WM_DESTROY:
        if (win::GetCaretState().owner == Handle()) DestroyCaret();
        return 0;
    case WM_KILLFOCUS:
        selecting_ = false;
        DestroyCaret();
        InvalidateRect(Handle(), nullptr, FALSE);
        NotifyCommand(EN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN: {
        if (!Focused()) SetFocus(Handle());
        if (!IsWindow(Handle())) return 0;
        SetCapture(Handle());
        selecting_ = true;
        size_t p = PosAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        preferredX_ = -1;
        SetSel((wp & MK_SHIFT) ? anchor_ : p, p, true);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (selecting_ && GetCapture() == Handle()) DragTo({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_TIMER:
        if (wp == kDragTimer) DragStep();
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (selecting_) {
            selecting_ = false;
            KillTimer(Handle(), kDragTimer);
            if (GetCapture() == Handle()) ReleaseCapture();
        }
        return 0;
    case WM_LBUTTONDBLCLK: { // the word under the pointer, with the spaces after it
        size_t p = PosAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        size_t s = p, e = p;
        bool space = p < text_.size() && text::IsSpace(text::At(text_, p));
        while (s > 0 && text::IsSpace(text::At(text_, text::Prev(text_, s))) == space &&
               !BreakLength(text::Prev(text_, s)))
            s = text::Prev(text_, s);
        if (!space)
            e = WordEnd(p);
        else
            while (e < text_.size() && text::IsSpace(text::At(text_, e)) && !BreakLength(e))
                e = text::Next(text_, e);
        while (e > s && BreakLength(text::Prev(text_, e))) e = text::Prev(text_, e);
        SetSel(s, e, true);
        return 0;
    }
    case WM_KEYDOWN:
        OnKey(static_cast<int>(wp));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<char32_t>(wp));
        return 0;
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (!undo_ || ReadOnly()) return FALSE;
        UndoOnce();
        return TRUE;
    case WM_MOUSEWHEEL:
        if (!Multi()) return Default(msg, wp, lp);
        ScrollLines(firstLine_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * kWheelLines);
        return 0;
    case WM_VSCROLL:
    case EM_SCROLL: {
        if (!Multi()) return 0;
        EnsureLayout();
        int code = LOWORD(wp);
        int before = firstLine_;
        ScrollLines(ScrollTarget(code, static_cast<int16_t>(HIWORD(wp)), firstLine_, 0,
                                 static_cast<int>(lines_.size()) - 1, VisibleLines()));
        return msg == EM_SCROLL ? MAKELRESULT(firstLine_ - before, TRUE) : 0;
    }
    case WM_HSCROLL: {
        if (!Multi() || Wraps()) return 0;
        int widest = 0;
        for (const Line& l : lines_) widest = std::max(widest, l.width);
        int w = format_.right - format_.left;
        int x = ScrollTarget(LOWORD(wp), static_cast<int16_t>(HIWORD(wp)), xOffset_, 0, widest, w,
                             AverageCharWidth());
        if (x != xOffset_) {
            xOffset_ = x;
            UpdateScroll();
            PlaceCaret();
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return 0;
    }
    case EM_GETSEL: {
        size_t a = std::min(anchor_, caret_), b = std::max(anchor_, caret_);
        if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(a);
        if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(b);
        return (a > 0xFFFF || b > 0xFFFF) ? -1 : MAKELRESULT(static_cast<int>(a), static_cast<int>(b));
    }
    case EM_SETSEL: {
        auto start = static_cast<intptr_t>(static_cast<int32_t>(wp)),
             end = static_cast<intptr_t>(static_cast<int32_t>(lp));
        if (start < 0) { // -1: no selection, the caret stays
            SetSel(caret_, caret_, false);
            return 0;
        }
        size_t s = static_cast<size_t>(start), e = end < 0 ? text_.size() : static_cast<size_t>(end);
        preferredX_ = -1;
        SetSel(s, e, false);
        return 0;
    }
    case EM_REPLACESEL:
        // Code may change a read-only edit; only the user may not.
        Replace(lp ? reinterpret_cast<const char*>(lp) : "", wp ? Change::Other : Change::NoUndo);
        return 0;
    case EM_SCROLLCARET:
        ScrollCaret();
        return TRUE;
    case EM_GETRECT:
        if (lp) *reinterpret_cast<RECT*>(lp) = format_;
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (!lp) {
            ResetFormatRect();
        } else {
            RECT r = *reinterpret_cast<const RECT*>(lp);
            if (wp == 1) // relative to the current rectangle
                r = {format_.left + r.left, format_.top + r.top, format_.right + r.right,
                     format_.bottom + r.bottom};
            format_ = r;
            layoutDirty_ = true;
        }
        EnsureLayout();
        ScrollCaret();
        PlaceCaret();
        if (msg == EM_SETRECT) InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case EM_SETMARGINS: {
        int left = static_cast<int16_t>(LOWORD(lp)), right = static_cast<int16_t>(HIWORD(lp));
        if (left == static_cast<int16_t>(EC_USEFONTINFO)) left = AverageCharWidth() / 2;
        if (right == static_cast<int16_t>(EC_USEFONTINFO)) right = AverageCharWidth() / 2;
        if (wp & EC_LEFTMARGIN) leftMargin_ = std::max(0, left);
        if (wp & EC_RIGHTMARGIN) rightMargin_ = std::max(0, right);
        ResetFormatRect();
        EnsureLayout();
        PlaceCaret();
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }
    case EM_GETMARGINS:
        return MAKELRESULT(leftMargin_, rightMargin_);
    case EM_GETMODIFY:
        return modified_;
    case EM_SETMODIFY:
        modified_ = wp != 0;
        return 0;
    case EM_CANUNDO:
        return undo_.has_value();
    case EM_EMPTYUNDOBUFFER:
        undo_.reset();
        return 0;
    case EM_LIMITTEXT:
        limit_ = wp ? static_cast<size_t>(wp) : 0x7FFFFFFE;
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(limit_);
    case EM_SETPASSWORDCHAR: {
        password_ = static_cast<char32_t>(wp);
        DWORD style = Style();
        SetWindowLongPtr(Handle(), GWL_STYLE, password_ ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
        layoutDirty_ = true;
        InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    }
    case EM_GETPASSWORDCHAR:
        return static_cast<LRESULT>(password_);
    case EM_SETREADONLY: {
        DWORD style = Style();
        SetWindowLongPtr(Handle(), GWL_STYLE, wp ? (style | ES_READONLY) : (style & ~ES_READONLY));
        InvalidateRect(Handle(), nullptr, TRUE);
        return TRUE;
    }
    case EM_GETLINECOUNT:
        EnsureLayout();
        return static_cast<LRESULT>(lines_.size());
    case EM_GETFIRSTVISIBLELINE:
        EnsureLayout();
        if (Multi()) return firstLine_;
        return static_cast<LRESULT>(PosAt({format_.left, format_.top}));
    case EM_LINEINDEX: {
        EnsureLayout();
        int li = static_cast<int>(static_cast<intptr_t>(wp));
        if (li < 0) li = LineOf(caret_);
        return li < static_cast<int>(lines_.size()) ? static_cast<LRESULT>(lines_[li].start) : -1;
    }
    case EM_LINEFROMCHAR: {
        EnsureLayout();
        auto p = static_cast<intptr_t>(wp);
        return LineOf(p < 0 ? std::min(anchor_, caret_) : static_cast<size_t>(p));
    }
    case EM_LINELENGTH: {
        EnsureLayout();
        auto p = static_cast<intptr_t>(wp);
        const Line& l = lines_[LineOf(p < 0 ? caret_ : static_cast<size_t>(p))];
        return static_cast<LRESULT>(l.end - l.start);
    }
    case EM_GETLINE: {
        EnsureLayout();
        if (wp >= lines_.size() || !lp) return 0;
        const Line& l = lines_[wp];
        size_t room = *reinterpret_cast<const WORD*>(lp);
        size_t n = text::Snap(text_, l.start + std::min(room, l.end - l.start)) - l.start;
        text_.copy(reinterpret_cast<char*>(lp), n, l.start);
        return static_cast<LRESULT>(n);
    }
    case EM_LINESCROLL:
        if (!Multi()) return FALSE;
        ScrollLines(firstLine_ + static_cast<int>(static_cast<intptr_t>(lp)));
        if (wp && !Wraps()) {
            xOffset_ =
                std::max(0, xOffset_ + static_cast<int>(static_cast<intptr_t>(wp)) * AverageCharWidth());
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return TRUE;
    case EM_POSFROMCHAR: {
        POINT p = PosOf(std::min(static_cast<size_t>(wp), text_.size()));
        return MAKELRESULT(p.x, p.y);
    }
    case EM_CHARFROMPOS: {
        size_t p = PosAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return MAKELRESULT(static_cast<int>(std::min<size_t>(p, 0xFFFF)), LineOf(p));
    }
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls

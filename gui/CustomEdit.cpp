#include "gui/CustomEdit.h"

#include "controls/CommCtrl.h"
#include "controls/Utf8Text.h"
#include "gdi/Dc.h"
#include "gui/NativeMouse.h"
#include "os/ScopeExit.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>

namespace gui {

namespace {

const char* const Breaks = "\r\n";

// Lines between hard breaks; a break at the very end ends the last line.
std::vector<std::pair<size_t, size_t>> SplitLines(const std::string& s) {
    std::vector<std::pair<size_t, size_t>> lines;
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find_first_of(Breaks, start);
        if (end == std::string::npos) {
            lines.emplace_back(start, s.size());
            break;
        }
        lines.emplace_back(start, end);
        start = end + ((s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

bool EndsWithBreak(const std::string& s) {
    return !s.empty() && (s.back() == '\n' || s.back() == '\r');
}

} // namespace

// ---- edit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    // No mouse capture of ours: the native window tracks its own selection drags.
    ControlStyle = csClickEvents | csSetCaption | csDoubleClicks | csFixedHeight;
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    InitCommonControls();
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_EDIT);
    p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (borderStyle_ == bsSingleBorder) p.Style |= WS_BORDER;
    if (!hideSelection_) p.Style |= ES_NOHIDESEL;
    if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
    if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
    // The edit paints its own background; the class keeps only the double-click style.
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
    creating_ = true;
    os::ScopeExit created([this] { creating_ = false; });
    TWinControl::CreateWnd();
    HWND h = Handle();
    SendMessage(h, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (readOnly_) SendMessage(h, EM_SETREADONLY, TRUE, 0);
    if (passwordChar_) SendMessage(h, EM_SETPASSWORDCHAR, passwordChar_, 0);
    SendMessage(h, EM_SETSEL, selStart_, static_cast<LPARAM>(selEnd_));
    SendMessage(h, EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::SaveState() {
    if (!HandleAllocated()) return;
    DWORD s = 0, e = 0;
    SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    selStart_ = s, selEnd_ = e;
    modified_ = SendMessage(Handle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::DestroyWnd() {
    SaveState();
    TWinControl::DestroyWnd();
}

std::string TCustomEdit::Text() {
    if (!HandleAllocated()) return TControl::Text();
    LRESULT length = Perform(WM_GETTEXTLENGTH);
    std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    LRESULT got = Perform(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

void TCustomEdit::SetText(const std::string& value) {
    if (!HandleAllocated()) return TControl::SetText(value);
    if (Text() == value) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED);
}

int TCustomEdit::SelStart() {
    SaveState();
    return static_cast<int>(std::min(selStart_, selEnd_));
}

int TCustomEdit::SelLength() {
    SaveState();
    return static_cast<int>(std::max(selStart_, selEnd_) - std::min(selStart_, selEnd_));
}

void TCustomEdit::SetSelStart(int value) {
    std::string t = Text();
    size_t s = controls::text::Snap(t, static_cast<size_t>(std::clamp(value, 0, static_cast<int>(t.size()))));
    selStart_ = selEnd_ = s;
    if (HandleAllocated()) SendMessage(Handle(), EM_SETSEL, s, static_cast<LPARAM>(s));
}

void TCustomEdit::SetSelLength(int value) {
    std::string t = Text();
    size_t start = static_cast<size_t>(SelStart());
    size_t end = std::min(t.size(), start + static_cast<size_t>(std::max(value, 0)));
    // A length ending inside a character takes the whole character.
    if (end < t.size() && controls::text::Snap(t, end) != end) end = controls::text::Next(t, end);
    selStart_ = start, selEnd_ = end;
    if (HandleAllocated()) SendMessage(Handle(), EM_SETSEL, start, static_cast<LPARAM>(end));
}

std::string TCustomEdit::SelText() {
    std::string t = Text();
    size_t start = static_cast<size_t>(SelStart());
    return t.substr(std::min(start, t.size()), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const std::string& value) {
    HandleNeeded();
    SendMessage(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll() {
    selStart_ = 0;
    selEnd_ = Text().size();
    if (HandleAllocated()) SendMessage(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() {
    HandleNeeded();
    SendMessage(Handle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
    HandleNeeded();
    SendMessage(Handle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
    HandleNeeded();
    SendMessage(Handle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    HandleNeeded();
    SendMessage(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Undo() {
    if (HandleAllocated()) SendMessage(Handle(), EM_UNDO, 0, 0);
}

bool TCustomEdit::CanUndo() {
    return HandleAllocated() && SendMessage(Handle(), EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::ClearUndo() {
    if (HandleAllocated()) SendMessage(Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

bool TCustomEdit::Modified() {
    SaveState();
    return modified_;
}

void TCustomEdit::SetModified(bool value) {
    modified_ = value;
    if (HandleAllocated()) SendMessage(Handle(), EM_SETMODIFY, value, 0);
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    if (HandleAllocated()) SendMessage(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessage(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetPasswordChar(char32_t value) {
    if (passwordChar_ == value) return;
    passwordChar_ = value;
    if (HandleAllocated()) {
        SendMessage(Handle(), EM_SETPASSWORDCHAR, value, 0);
        Invalidate();
    }
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (charCase_ == value) return;
    charCase_ = value;
    // The text already there takes the new case too, as the window does when made with it.
    std::string t = Text();
    if (value == ecUpperCase) SetText(controls::text::ToUpper(t));
    if (value == ecLowerCase) SetText(controls::text::ToLower(t));
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
    if (hideSelection_ == value) return;
    hideSelection_ = value;
    RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
    // Tabbing in selects the whole line; a click places the caret where it falls.
    if (AutoSelect && !(GetWindowLongPtr(Handle(), GWL_STYLE) & ES_MULTILINE) && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    PassMouseToNative(this, m);
}

void TCustomEdit::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !creating_) Change();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
        return;
    }
    case WM_PAINT:
    case WM_ERASEBKGND:
        // The native window paints itself.
        return DefaultHandler(m);
    case WM_SETTEXT:
        // While the window exists it holds the text; the control keeps a copy for the next one.
        TWinControl::Dispatch(m);
        return;
    default:
        TWinControl::Dispatch(m);
    }
}

// ---- memo

namespace {

class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
    int Count() const override { return static_cast<int>(SplitLines(memo_->Text()).size()); }
    void Insert(int index, const std::string& s) override {
        std::string t = memo_->Text();
        auto lines = SplitLines(t);
        if (index < 0 || index > static_cast<int>(lines.size()))
            throw EStringListError("List index out of bounds");
        if (index == static_cast<int>(lines.size())) {
            std::string add = (t.empty() || EndsWithBreak(t)) ? s : "\r\n" + s;
            if (!memo_->HandleAllocated()) return memo_->SetText(t + add);
            // Appended where it ends, without rewriting what is there; the end comes into view.
            HWND h = memo_->Handle();
            SendMessage(h, EM_SETSEL, t.size(), static_cast<LPARAM>(t.size()));
            SendMessage(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(add.c_str()));
            SendMessage(h, EM_SCROLLCARET, 0, 0);
            return;
        }
        t.insert(lines[static_cast<size_t>(index)].first, s + "\r\n");
        memo_->SetText(t);
    }
    void Delete(int index) override {
        std::string t = memo_->Text();
        auto lines = SplitLines(t);
        if (index < 0 || index >= static_cast<int>(lines.size()))
            throw EStringListError("List index out of bounds");
        size_t from = lines[static_cast<size_t>(index)].first;
        size_t to = index + 1 < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(index) + 1].first
                                                               : t.size();
        // The last line takes the break before it along.
        if (index + 1 == static_cast<int>(lines.size()) && index > 0)
            from = lines[static_cast<size_t>(index) - 1].second;
        t.erase(from, to - from);
        memo_->SetText(t);
    }
    void Clear() override { memo_->SetText(""); }
    void SetText(const std::string& text) override { memo_->SetText(text); }

protected:
    std::string Get(int index) const override {
        std::string t = memo_->Text();
        auto lines = SplitLines(t);
        if (index < 0 || index >= static_cast<int>(lines.size()))
            throw EStringListError("List index out of bounds");
        auto [s, e] = lines[static_cast<size_t>(index)];
        return t.substr(s, e - s);
    }
    void Put(int index, const std::string& s) override {
        std::string t = memo_->Text();
        auto lines = SplitLines(t);
        if (index < 0 || index >= static_cast<int>(lines.size()))
            throw EStringListError("List index out of bounds");
        auto [b, e] = lines[static_cast<size_t>(index)];
        t.replace(b, e - b, s);
        memo_->SetText(t);
    }

private:
    TCustomMemo* memo_;
};

} // namespace

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(this)) {
    ControlStyle &= ~csFixedHeight;
    TControl::SetBounds(Left(), Top(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(const TStrings* lines) {
    lines_->Assign(lines);
}

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style &= ~(ES_AUTOHSCROLL | ES_LEFT | ES_CENTER | ES_RIGHT);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (alignment_ == taCenter) p.Style |= ES_CENTER;
    if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
    // A horizontal bar or no wrapping: long lines scroll sideways instead of breaking.
    if (!wordWrap_ || scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= ES_AUTOHSCROLL;
    if (WantReturns) p.Style |= ES_WANTRETURN;
}

void TCustomMemo::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (scrollBars_ == value) return;
    scrollBars_ = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    RecreateWnd();
}

// Without WantReturns Enter is the form's: the memo makes no line of it.
void TCustomMemo::KeyPress(char32_t& key) {
    TCustomEdit::KeyPress(key);
    if (key == U'\r' && !WantReturns) key = 0;
}

} // namespace gui

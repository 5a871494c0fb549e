#pragma once
// Edits over the native "Edit" window: TEdit for one line, TMemo for many.  Positions
// (SelStart, SelLength) are byte offsets into the UTF-8 text, as every string length of this
// library is; a position inside a character moves back onto its start.  The state set from
// code (text, selection, limits, flags) holds before the window exists and survives RecreateWnd.
#include "gui/Strings.h"
#include "gui/WinControl.h"

#include <memory>
#include <string>

namespace gui {

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TBorderStyle : uint8_t { bsNoBorder, bsSingleBorder };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    std::string ClassName() const override { return "TCustomEdit"; }
    void WndProc(TMessage& message) override;

    // The text as it stands in the window (typing changes it there).
    std::string Text();
    // Compared with the window's text, not with the last one set.
    void SetText(const std::string& value);
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    std::string SelText();
    // Replaces the selection, as typing would (undoable).
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo();
    void ClearUndo();
    bool Modified();
    void SetModified(bool value);

    // Characters, 0 for no limit; text set from code is not cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    char32_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char32_t value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // Gaining the focus by the keyboard selects all of a single-line edit's text.
    bool AutoSelect = true;

    // Every change of the text, typed or set from code; not the window being made anew.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();
    void DoEnter() override;
    bool Creating() const { return creating_; }

private:
    void SaveState();
    int maxLength_ = 0;
    bool readOnly_ = false;
    char32_t passwordChar_ = 0;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    TBorderStyle borderStyle_ = bsSingleBorder;
    // Kept while there is no window.
    size_t selStart_ = 0, selEnd_ = 0;
    bool modified_ = false;
    bool creating_ = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
    std::string ClassName() const override { return "TEdit"; }
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;
    std::string ClassName() const override { return "TCustomMemo"; }

    // The lines between hard breaks (CR LF, CR or LF); a break at the very end ends the last
    // line rather than starting an empty one.  Adding at the end appends to the window without
    // rewriting it and shows the new end, so a log stays cheap however long it grows.
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(const TStrings* lines);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // Enter makes a new line; without it Enter goes to the form (its default button).
    bool WantReturns = true;

protected:
    void CreateParams(TCreateParams& params) override;
    void KeyPress(char32_t& key) override;

private:
    std::unique_ptr<TStrings> lines_;
    TAlignment alignment_ = taLeftJustify;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
    std::string ClassName() const override { return "TMemo"; }
};

} // namespace gui

#include "gui/Dialogs.h"

#include "gdi/DcText.h"
#include "gdi/Icon.h"
#include "gui/Application.h"
#include "gui/Screen.h"
#include "win/Paint.h"

#include <algorithm>

namespace gui {

TMessageForm::TMessageForm(TComponent* owner, const std::string& text, const std::string& caption, UINT flags)
    : TForm(owner), message_(text) {
    BeginLoading();
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetCaption(caption);
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        icon_ = LoadIcon(nullptr, IDI_ERROR);
        break;
    case MB_ICONQUESTION:
        icon_ = LoadIcon(nullptr, IDI_QUESTION);
        break;
    case MB_ICONWARNING:
        icon_ = LoadIcon(nullptr, IDI_WARNING);
        break;
    case MB_ICONINFORMATION:
        icon_ = LoadIcon(nullptr, IDI_INFORMATION);
        break;
    default:
        break;
    }
    // The text decides the size: up to two thirds of the screen wide, wrapped at words.
    Canvas()->SetFont(Font());
    RECT r{0, 0, std::max(Screen->Width() * 2 / 3, 200), 0};
    HDC dc = GetDC(nullptr);
    SelectObject(dc, Font()->Handle());
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    ReleaseDC(nullptr, dc);
    int textLeft = icon_ ? 60 : 16;
    textRect_ = Bounds(textLeft, 16, RectWidth(r), RectHeight(r));
    if (icon_ && RectHeight(textRect_) < 32) OffsetRect(&textRect_, 0, (32 - RectHeight(textRect_)) / 2);
    int clientW = std::max<int>(textRect_.right + 16, 150);
    int clientH = std::max<int>(textRect_.bottom, icon_ ? 48 : 0) + 16 + 25 + 12;
    ok_ = new TButton(this);
    ok_->SetName("OKButton");
    ok_->SetCaption("确定");
    ok_->ModalResult = mrOk;
    ok_->Default = true;
    ok_->Cancel = true;
    ok_->SetParent(this);
    ok_->SetBounds((clientW - 75) / 2, clientH - 12 - 25, 75, 25);
    EndLoading();
    SetClientSize(clientW, clientH);
    SetActiveControl(nullptr);
    FocusControl(ok_);
}

void TMessageForm::Paint() {
    TCanvas* c = Canvas();
    if (icon_) DrawIconEx(c->Handle(), 16, 16, icon_, 32, 32, 0, nullptr, DI_NORMAL);
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    RECT r = textRect_;
    DrawText(c->Handle(), message_.c_str(), static_cast<int>(message_.size()), &r,
             DT_WORDBREAK | DT_NOPREFIX);
    TForm::Paint();
}

} // namespace gui

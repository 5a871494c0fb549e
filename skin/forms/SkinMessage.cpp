#include "skin/forms/SkinMessage.h"

#include "gdi/Icon.h"
#include "gui/Application.h"
#include "gui/Icon.h"
#include "gui/Image.h"
#include "gui/Picture.h"
#include "gui/Screen.h"
#include "os/DesktopServices.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/ResourceStrData.h"
#include "win/Input.h"

#include <algorithm>
#include <functional>
#include <string>

namespace skin {

namespace {

struct ButtonKind {
    const char* name;
    const char* key; // null: no string-table key
    const char* caption;
    gui::TModalResult result;
};
constexpr ButtonKind kButtons[] = {
    {"Yes",      "MSG_BTN_YES",      "&Yes",      6 },
    {"No",       "MSG_BTN_NO",       "&No",       7 },
    {"OK",       "MSG_BTN_OK",       "OK",        1 },
    {"Cancel",   "MSG_BTN_CANCEL",   "Cancel",    2 },
    {"Abort",    "MSG_BTN_ABORT",    "&Abort",    3 },
    {"Retry",    "MSG_BTN_RETRY",    "&Retry",    4 },
    {"Ignore",   "MSG_BTN_IGNORE",   "&Ignore",   5 },
    {"All",      "MSG_BTN_ALL",      "&All",      8 },
    {"NoToAll",  "MSG_BTN_NOTOALL",  "N&oToAll",  9 },
    {"YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", 10},
    {"Help",     "MSG_BTN_HELP",     "&Help",     0 }, // shows help and leaves the box open
    {"Close",    "MSG_BTN_CLOSE",    "Close",     11},
};

struct DlgKind {
    const char* key;
    const char* title;
    const char* icon; // null: no icon
};
const DlgKind kDialogs[] = {
    {"MSG_CAP_WARNING",     "Warning",     IDI_WARNING    },
    {"MSG_CAP_ERROR",       "Error",       IDI_ERROR      },
    {"MSG_CAP_INFORMATION", "Information", IDI_INFORMATION},
    {"MSG_CAP_CONFIRM",     "Confirm",     IDI_QUESTION   },
    {nullptr,               "",            nullptr        },
};

constexpr int kButtonWidth = 70, kButtonGap = 10, kDefaultButtonHeight = 25;
const char* const kShowFlagText = "Do not display this message again";

// The text with every line that is wider than `maxWidth` broken into pieces that fit: after a
// space or a path separator where one is near the end, else between two characters.
std::string WrapLines(const std::string& text, int maxWidth,
                      const std::function<int(const std::string&)>& width) {
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (width(line) > maxWidth) {
            // The longest head that fits, whole characters only (at least one).
            size_t cut = 0;
            for (size_t i = 1; i <= line.size(); ++i) {
                if (i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;
                if (cut > 0 && width(line.substr(0, i)) > maxWidth) break;
                cut = i;
            }
            if (cut >= line.size()) break;
            const size_t soft = line.find_last_of(" /", cut - 1);
            if (soft != std::string::npos && soft + 1 >= cut / 2) cut = soft + 1;
            out += line.substr(0, cut) + "\n";
            line.erase(0, cut);
        }
        out += line;
        if (end == text.size()) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

bool HasTable(const TbsSkinData* sd) {
    return sd && sd->ResourceStrData();
}

bool Has(TMsgDlgButtons set, TMsgDlgBtn kind) {
    return (set >> kind) & 1u;
}

void InitFont(gui::TFont& f) {
    f.SetName("Arial");
    f.SetHeight(14);
    f.SetStyle(0);
}

} // namespace

// --- the form --------------------------------------------------------------------------------

TbsMessageForm::TbsMessageForm(gui::TComponent* owner, int x, int y) : gui::TForm(owner) {
    SetBorderStyle(gui::bsDialog);
    KeyPreview = true;
    if (x < -10000) {
        SetPosition(gui::poScreenCenter);
    } else {
        SetLeft(x);
        SetTop(y);
    }
    BSF = new TbsSkinForm(this);
    BSF->SetBorderIcons(0);
    BSF->SetHideCaptionButtons(true); // the box ends by its own buttons or Esc
}

void TbsMessageForm::HelpButtonClick(gui::TObject*) {
    // Help is a document the desktop opens; the context number has no meaning for it.
    std::string file = HelpFile.empty() ? gui::Application->HelpFile : HelpFile;
    if (!file.empty()) os::OpenWithDesktop(file);
}

bool TbsMessageForm::HasButtons() const {
    for (int i = 0; i < ComponentCount(); ++i)
        if (dynamic_cast<TbsSkinButton*>(Components(i))) return true;
    return false;
}

void TbsMessageForm::CMDialogKey(gui::TMessage& message) {
    gui::TForm::CMDialogKey(message);
    if (message.Result == 0 && message.WParam == VK_ESCAPE && !HasButtons()) {
        SetModalResult(gui::mrCancel);
        message.Result = 1;
    }
}

// --- the component ---------------------------------------------------------------------------

struct TbsSkinMessage::Request {
    std::string msg;
    std::string caption;
    TMsgDlgType type = mtInformation;
    bool systemIcon = true;
    gui::TCustomImageList* images = nullptr;
    int imageIndex = -1;
    TMsgDlgButtons buttons = 0;
    int helpCtx = 0;
    std::string helpFile;
    bool showAgainBox = true;
    int x = kMsgCentred, y = kMsgCentred;
    bool askPos = false;
};

TbsSkinMessage::TbsSkinMessage(os::TComponent* owner) : os::TComponent(owner) {
    InitFont(defaultFont_);
    InitFont(defaultButtonFont_);
}

TbsSkinMessage::~TbsSkinMessage() {
    MarkDestroying();
    SetSkinData(nullptr);
    SetCtrlSkinData(nullptr);
}

void TbsSkinMessage::SetSkinData(TbsSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_ && skinData_ != ctrlSkinData_) skinData_->RemoveFreeNotification(this);
    skinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* value) {
    if (ctrlSkinData_ == value) return;
    if (ctrlSkinData_ && ctrlSkinData_ != skinData_) ctrlSkinData_->RemoveFreeNotification(this);
    ctrlSkinData_ = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinMessage::Notification(os::TComponent* component, os::TOperation operation) {
    os::TComponent::Notification(component, operation);
    if (operation != os::TOperation::opRemove) return;
    if (component == skinData_) skinData_ = nullptr;
    if (component == ctrlSkinData_) ctrlSkinData_ = nullptr;
}

std::string TbsSkinMessage::GetButtonCaption(TMsgDlgBtn kind, const TbsSkinData* sd) {
    const ButtonKind& b = kButtons[kind];
    // Close has no key of its own in older tables; its built-in text stands in for an empty one.
    if (HasTable(sd)) {
        std::string s = sd->ResourceStrData()->GetResStr(b.key);
        if (kind != mbClose || !s.empty()) return s;
    }
    return b.caption;
}

std::string TbsSkinMessage::GetDlgCaption(TMsgDlgType type, const TbsSkinData* sd) {
    const DlgKind& d = kDialogs[std::min<int>(type, mtCustom)];
    if (HasTable(sd)) return d.key ? sd->ResourceStrData()->GetResStr(d.key) : std::string();
    return d.title;
}

std::unique_ptr<TbsMessageForm> TbsSkinMessage::Build(const Request& r) {
    auto form = std::make_unique<TbsMessageForm>(gui::Application, r.x, r.y);
    TbsSkinData* csd = ctrlSkinData_;
    form->BSF->SetSkinData(skinData_);
    form->BSF->SetMenusSkinData(csd);
    form->BSF->AssignAlphaBlend(AlphaBlend, AlphaBlendAnimation, AlphaBlendValue);
    form->HelpContext = r.helpCtx;
    form->HelpFile = r.helpFile;

    int bh = kDefaultButtonHeight;
    if (csd && !csd->Empty) {
        int i = csd->GetControlIndex(ButtonSkinDataName);
        if (i >= 0)
            if (auto* b =
                    dynamic_cast<TbsDataSkinButtonControl*>(csd->CtrlList[static_cast<size_t>(i)].get()))
                bh = b->SkinRect.Bottom - b->SkinRect.Top;
    }
    int n = 0;
    for (int k = mbYes; k <= mbClose; ++k)
        if (Has(r.buttons, static_cast<TMsgDlgBtn>(k))) ++n;
    const int rw = n ? kButtonWidth * n + kButtonGap * (n - 1) : 0;

    form->SetCaption(r.caption);

    auto* label = new TbsSkinStdLabel(form.get());
    form->Message = label;
    label->Font()->Assign(&defaultFont_);
    label->SetDefaultFont(&defaultFont_);
    label->UseSkinFont = UseSkinFont;
    label->SkinDataName = MessageLabelSkinDataName;
    label->SetSkinData(csd);
    label->SetName("Message");
    label->SetParent(form.get());
    label->SetAutoSize(true);
    label->SetCaption(r.msg);
    // The box stays within the screen: a longer line (a deep path, a list of reasons) breaks.
    const int frame = form->Width() - form->ClientWidth();
    const int maxText = gui::RectWidth(gui::Screen->WorkAreaRect()) - 50 - 40 - frame;
    if (maxText > 0 && label->Width() > maxText) {
        gui::TCanvas* c = label->Canvas();
        label->SetCaption(WrapLines(r.msg, maxText, [c](const std::string& s) { return c->TextWidth(s); }));
    }
    label->SetLeft(50);
    label->SetTop(15);
    const int lr = label->Left() + label->Width();

    const int iconTop = label->Top() + label->Height() / 2 - 16;
    if (r.systemIcon) {
        if (const char* icon = kDialogs[std::min<int>(r.type, mtCustom)].icon) {
            auto* image = new gui::TImage(form.get());
            image->SetName("Image");
            image->SetParent(form.get());
            gui::TIcon picture;
            picture.SetHandle(CopyIcon(LoadIcon(nullptr, icon)));
            image->Picture()->SetGraphic(&picture);
            image->SetBounds(5, std::max(10, iconTop), 32, 32);
        }
    } else if (r.images && r.imageIndex >= 0 && r.imageIndex < r.images->Count()) {
        auto* image = new gui::TImage(form.get());
        image->SetTransparent(true);
        image->SetName("Image");
        image->SetParent(form.get());
        gui::TIcon picture;
        r.images->GetIcon(r.imageIndex, &picture);
        image->Picture()->SetGraphic(&picture);
        image->SetBounds(5, iconTop, r.images->Width(), r.images->Height());
    }

    int clientH = bh + 50 + label->Height();
    int clientW = rw < lr ? lr + 40 : rw + 40;
    form->SetClientSize(clientW, clientH);

    if (r.showAgainBox && ShowAgainFlag) {
        clientH += 40;
        form->SetClientSize(clientW, clientH);
        auto* box = new TbsSkinCheckRadioBox(form.get());
        form->DisplayCheckBox = box;
        box->SetName("checkbox");
        box->SetDefaultHeight(30);
        box->SetChecked(!ShowAgainFlagValue);
        box->SetParent(form.get());
        box->SetDefaultFont(&defaultFont_);
        box->UseSkinFont = UseSkinFont;
        box->SetSkinData(csd);
        const int t = clientH - bh - 50;
        std::string text;
        if (HasTable(csd)) text = csd->ResourceStrData()->GetResStr("MSG_CAP_SHOWFLAG");
        if (text.empty()) text = kShowFlagText;
        box->SetCaption(text);
        gui::TCanvas* c = form->Canvas();
        const TbsDataSkinCheckRadioControl* d = nullptr;
        if (csd && box->FIndex >= 0 && static_cast<size_t>(box->FIndex) < csd->CtrlList.size())
            d = dynamic_cast<const TbsDataSkinCheckRadioControl*>(
                csd->CtrlList[static_cast<size_t>(box->FIndex)].get());
        if (d && UseSkinFont) {
            c->Font()->SetName(d->FontName);
            c->Font()->SetHeight(d->FontHeight);
        } else {
            c->Font()->Assign(&defaultFont_);
        }
        const int tw = c->TextWidth(text);
        if (clientW < tw + 60) {
            clientW = tw + 60;
            form->SetClientSize(clientW, clientH);
        }
        box->SetBounds(5, t, tw + 55, box->DefaultHeight());
    }

    if (form->BSF->GetMaxWidth() < form->Width())
        form->SetWidth(form->BSF->GetMaxWidth());
    else if (form->Width() < form->BSF->GetMinWidth())
        form->SetWidth(form->BSF->GetMinWidth());

    const TMsgDlgBtn def = Has(r.buttons, mbOK) ? mbOK : Has(r.buttons, mbYes) ? mbYes : mbRetry;
    const TMsgDlgBtn cancel = Has(r.buttons, mbCancel) ? mbCancel : Has(r.buttons, mbNo) ? mbNo : mbOK;
    clientW = form->ClientWidth();
    int x = (clientW - rw) / 2;
    gui::TWinControl* first = nullptr;
    for (int k = mbYes; k <= mbClose; ++k) {
        auto kind = static_cast<TMsgDlgBtn>(k);
        if (!Has(r.buttons, kind)) continue;
        auto* b = new TbsSkinButton(form.get());
        b->SetParent(form.get());
        b->SetName(kButtons[k].name);
        b->SetCanFocused(true);
        b->SetCaption(GetButtonCaption(kind, csd));
        b->ModalResult = kButtons[k].result;
        if (kind == def) b->SetDefault(true);
        if (kind == cancel) b->Cancel = true;
        b->SetDefaultHeight(bh);
        b->SetBounds(x, clientH - bh - 10, kButtonWidth, bh);
        b->SetDefaultFont(&defaultButtonFont_);
        b->UseSkinFont = UseSkinFont;
        x += kButtonWidth + kButtonGap;
        if (kind == mbHelp) b->OnClick = [f = form.get()](gui::TObject* s) { f->HelpButtonClick(s); };
        b->SetSkinDataName(ButtonSkinDataName);
        b->SetSkinData(csd);
        if (kind == def || !first) first = b;
    }
    if (first) form->SetActiveControl(first);
    return form;
}

int TbsSkinMessage::Run(const Request& r) {
    std::unique_ptr<TbsMessageForm> form = Build(r);
    struct UpdateFlag {
        TbsSkinMessage* self;
        TbsMessageForm* form;
        ~UpdateFlag() {
            if (form->DisplayCheckBox) self->ShowAgainFlagValue = !form->DisplayCheckBox->Checked();
        }
    } update{this, form.get()};
    if (r.askPos && OnSetShowPos) {
        int ax = form->Left(), ay = form->Top();
        OnSetShowPos(ax, ay, form->Width(), form->Height());
        form->SetLeft(ax);
        form->SetTop(ay);
    }
    return form->ShowModal();
}

int TbsSkinMessage::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               int HelpCtx) {
    return MessageDlgHelp(Msg, DlgType, Buttons, HelpCtx, std::string());
}

int TbsSkinMessage::MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   int HelpCtx, const std::string& HelpFileName) {
    Request r;
    r.msg = Msg;
    r.type = DlgType;
    r.caption = DlgType == mtCustom ? gui::Application->Title : GetDlgCaption(DlgType, ctrlSkinData_);
    r.buttons = Buttons;
    r.helpCtx = HelpCtx;
    r.helpFile = HelpFileName;
    return Run(r);
}

int TbsSkinMessage::MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                  int HelpCtx, int X, int Y) {
    Request r;
    r.msg = Msg;
    r.type = DlgType;
    r.caption = DlgType == mtCustom ? gui::Application->Title : GetDlgCaption(DlgType, ctrlSkinData_);
    r.buttons = Buttons;
    r.helpCtx = HelpCtx;
    r.x = X;
    r.y = Y;
    r.askPos = true;
    return Run(r);
}

int TbsSkinMessage::MessageDlg2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                                TMsgDlgButtons Buttons, int HelpCtx) {
    return MessageDlgHelp2(Msg, ACaption, DlgType, Buttons, HelpCtx, std::string());
}

int TbsSkinMessage::MessageDlgHelp2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, int HelpCtx, const std::string& HelpFileName) {
    Request r;
    r.msg = Msg;
    r.type = DlgType;
    r.caption = ACaption;
    r.buttons = Buttons;
    r.helpCtx = HelpCtx;
    r.helpFile = HelpFileName;
    return Run(r);
}

int TbsSkinMessage::CustomMessageDlg(const std::string& Msg, const std::string& ACaption,
                                     gui::TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                                     int HelpCtx) {
    return CustomMessageDlgHelp(Msg, ACaption, AImages, AImageIndex, Buttons, HelpCtx, std::string());
}

int TbsSkinMessage::CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                                         gui::TCustomImageList* AImages, int AImageIndex,
                                         TMsgDlgButtons Buttons, int HelpCtx,
                                         const std::string& HelpFileName) {
    Request r;
    r.msg = Msg;
    r.caption = ACaption;
    r.systemIcon = false;
    r.images = AImages;
    r.imageIndex = AImageIndex;
    r.buttons = Buttons;
    r.helpCtx = HelpCtx;
    r.helpFile = HelpFileName;
    return Run(r);
}

int TbsSkinMessage::CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                                        gui::TCustomImageList* AImages, int AImageIndex,
                                        TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    Request r;
    r.msg = Msg;
    r.caption = ACaption;
    r.systemIcon = false;
    r.images = AImages;
    r.imageIndex = AImageIndex;
    r.buttons = Buttons;
    r.helpCtx = HelpCtx;
    r.x = X;
    r.y = Y;
    r.askPos = true;
    return Run(r);
}

int TbsSkinMessage::WideMessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   int HelpCtx) {
    return WideMessageDlgPos(Msg, DlgType, Buttons, HelpCtx, kMsgCentred, kMsgCentred);
}

int TbsSkinMessage::WideMessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      int HelpCtx, int X, int Y) {
    Request r;
    r.msg = Msg;
    r.type = DlgType;
    r.caption = DlgType == mtCustom ? gui::Application->Title : GetDlgCaption(DlgType, ctrlSkinData_);
    r.buttons = Buttons;
    r.helpCtx = HelpCtx;
    r.showAgainBox = false;
    r.x = X;
    r.y = Y;
    return Run(r);
}

} // namespace skin

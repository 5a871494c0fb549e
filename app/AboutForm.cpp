#include "app/AboutForm.h"

#include "app/MainForm.h"
#include "app/ProgramEmblem.h"
#include "gui/Image.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLinkLabel.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"

namespace app {

namespace {

template <class T>
T* Place(gui::TComponent* owner, skin::TbsSkinData* data, gui::TWinControl* parent, int x, int y, int w,
         int h, const std::string& caption) {
    auto* c = new T(owner);
    c->SetSkinData(data);
    c->SetBounds(x, y, w, h);
    c->SetCaption(caption);
    c->SetParent(parent);
    return c;
}

} // namespace

TForm2::TForm2(gui::TComponent* AOwner, TForm1* AMainForm) : gui::TForm(AOwner) {
    SetName("Form2");
    SetCaption("关于软件");
    SetBorderStyle(gui::bsSingle);
    SetClientSize(332, 259);
    skin::TbsSkinData* data = (AMainForm ? AMainForm : MainWindow())->bsSkinData1;
    bsSkinForm1 = new skin::TbsSkinForm(this);
    bsSkinForm1->SetBorderIcons(skin::biRollUp);
    bsSkinForm1->SetAlphaBlendValue(0); // a skin that fades every window fades it to opaque
    bsSkinForm1->MenusAlphaBlendValue = 0;
    bsSkinForm1->PositionInMonitor = skin::TbsPositionInMonitor::bspDesktopCenter;
    bsSkinForm1->Magnetic = true;
    bsSkinForm1->MagneticSize = 10;
    bsSkinForm1->SetShowIcon(true);
    // The client area keeps its size whatever frame a skin gives the box.
    bsSkinForm1->ClientWidth = 332;
    bsSkinForm1->ClientHeight = 259;
    bsSkinForm1->SetSkinData(data);

    auto* emblem = new gui::TImage(this);
    emblem->SetBounds(16, 16, 64, 64);
    emblem->SetParent(this);
    LoadProgramEmblem(*emblem, 64);
    Place<skin::TbsSkinStdLabel>(this, data, this, 96, 24, 220, 22, kProgramTitle);
    Place<skin::TbsSkinStdLabel>(this, data, this, 96, 52, 220, 20, "Ver:11.8.6.0");
    Place<skin::TbsSkinStdLabel>(this, data, this, 16, 108, 90, 20, "官方网站：");
    WebSiteLink = Place<skin::TbsSkinLinkLabel>(this, data, this, 110, 108, 210, 20, kWebSite);
    WebSiteLink->URL = kWebSite;
    Place<skin::TbsSkinStdLabel>(this, data, this, 16, 140, 90, 20, "支持E-Mail：");
    MailLink = Place<skin::TbsSkinLinkLabel>(this, data, this, 110, 140, 210, 20, kSupportMail);
    MailLink->URL = std::string("mailto:") + kSupportMail;
    bsSkinButton1 =
        Place<skin::TbsSkinButton>(this, data, this, (332 - 88) / 2, 259 - 16 - 30, 88, 30, "确定");
    bsSkinButton1->OnClick = [this](gui::TObject*) {
        SetModalResult(gui::mrOk);
        Close();
    };
}

} // namespace app

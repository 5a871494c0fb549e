#pragma once
// TForm2, the about box: the program's name and version, its emblem, the maker's web site and
// support address.
#include "gui/Forms.h"

namespace skin {
class TbsSkinForm;
class TbsSkinButton;
class TbsSkinLinkLabel;
} // namespace skin

namespace app {

class TForm1;

class TForm2 : public gui::TForm {
public:
    explicit TForm2(gui::TComponent* AOwner, TForm1* AMainForm = nullptr);
    std::string ClassName() const override { return "TForm2"; }

    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    skin::TbsSkinLinkLabel* WebSiteLink = nullptr;
    skin::TbsSkinLinkLabel* MailLink = nullptr;
    skin::TbsSkinButton* bsSkinButton1 = nullptr; // 确定
};

} // namespace app

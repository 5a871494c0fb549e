#pragma once
// The skinned message box: a component whose message methods each build a small skinned
// form (icon, text, one button per requested kind, optionally a "do not show again" box),
// show it modally and return the pressed button's modal result.
#include "gui/Font.h"
#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace skin {

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
// Bit n for kind n; bits above mbClose are ignored.
using TMsgDlgButtons = uint16_t;
constexpr TMsgDlgButtons MsgButtons(std::initializer_list<TMsgDlgBtn> kinds) {
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn k : kinds) set = static_cast<TMsgDlgButtons>(set | (1u << k));
    return set;
}

// Dialogs placed by the caller pass real coordinates; anything below this centres them.
constexpr int kMsgCentred = -10001;

class TbsMessageForm : public gui::TForm {
public:
    // x below -10000 centres the form on the screen; otherwise it opens at (x, y).
    TbsMessageForm(gui::TComponent* owner, int x, int y);
    std::string ClassName() const override { return "TbsMessageForm"; }

    TbsSkinForm* BSF = nullptr;
    TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TbsSkinStdLabel* Message = nullptr;
    int HelpContext = 0;
    std::string HelpFile;

    void HelpButtonClick(gui::TObject* sender);

protected:
    // Esc presses the cancel button.  A box with buttons but none for cancel leaves Esc alone:
    // the user answers with one of its buttons, and mrCancel is none of theirs.  A box without
    // any button still ends on Esc, with mrCancel, as nothing else would end it.
    void CMDialogKey(gui::TMessage& message) override;

private:
    bool HasButtons() const;
};

using TbsMessageSetShowPosEvent = std::function<void(int& AX, int& AY, int AWidth, int AHeight)>;

class TbsSkinMessage : public os::TComponent {
public:
    explicit TbsSkinMessage(os::TComponent* owner);
    ~TbsSkinMessage() override;
    std::string ClassName() const override { return "TbsSkinMessage"; }

    bool ShowAgainFlag = false;
    bool ShowAgainFlagValue = false;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    TbsSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TbsSkinData* value);
    std::string ButtonSkinDataName = "button";
    std::string MessageLabelSkinDataName = "stdlabel";
    gui::TFont* DefaultFont() { return &defaultFont_; }
    void SetDefaultFont(const gui::TFont* value) { defaultFont_.Assign(value); }
    gui::TFont* DefaultButtonFont() { return &defaultButtonFont_; }
    void SetDefaultButtonFont(const gui::TFont* value) { defaultButtonFont_.Assign(value); }
    bool UseSkinFont = true;
    TbsMessageSetShowPosEvent OnSetShowPos;

    int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                       const std::string& HelpFileName);
    int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                      int Y);
    int MessageDlg2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                    TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlgHelp2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                        TMsgDlgButtons Buttons, int HelpCtx, const std::string& HelpFileName);
    int CustomMessageDlg(const std::string& Msg, const std::string& ACaption, gui::TCustomImageList* AImages,
                         int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx);
    int CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                             gui::TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                             int HelpCtx, const std::string& HelpFileName);
    int CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                            gui::TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                            int HelpCtx, int X, int Y);
    // Texts are UTF-8 throughout, so the wide variants differ only in never showing the box.
    int WideMessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int WideMessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                          int X, int Y);

    // The caption of a button kind and the title of a dialog type: from the skin's string
    // table when there is one (a missing key gives an empty text), else the built-in English.
    static std::string GetButtonCaption(TMsgDlgBtn kind, const TbsSkinData* sd);
    static std::string GetDlgCaption(TMsgDlgType type, const TbsSkinData* sd);

protected:
    void Notification(os::TComponent* component, os::TOperation operation) override;

private:
    struct Request;
    std::unique_ptr<TbsMessageForm> Build(const Request& r);
    int Run(const Request& r);

    TbsSkinData* skinData_ = nullptr;
    TbsSkinData* ctrlSkinData_ = nullptr;
    gui::TFont defaultFont_, defaultButtonFont_;
};

} // namespace skin

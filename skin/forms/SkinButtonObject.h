#pragma once
// Caption buttons: a plain skin button, which may open a menu the application links to it,
// and the system button bound to a command of the form (close, maximise/restore, minimise,
// system menu, roll-up, minimise to the notification area).  Without a skin descriptor the
// system button draws the default look's glyphs.
#include "skin/forms/ActiveSkinObject.h"

namespace skin {

class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(gui::TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, gui::TMouseButton Button) override;
    void MouseUp(int X, int Y, gui::TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool Down() const { return FDown; }
    void SetDown(bool value);
    // Opens the linked menu below (or above) the button.
    void TrackMenu();

    bool FDown = false;
    bool FPopupUp = false;
    TRect DisableSkinRect, DownRect;
    gui::TMenuItem* MenuItem = nullptr;
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
    TbsSkinStdButtonObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData);

    bool PointInObject(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(gui::TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, gui::TMouseButton Button) override;
    void MouseUp(int X, int Y, gui::TMouseButton Button) override;
    void MouseEnter() override;

    void DefaultDraw(gui::TCanvas* Cnvs);
    void ButtonClick();
    // The button stands for "restore" (a maximised, minimised or rolled-up form).
    bool InRestoreState() const;

    bool FSkinSupport = false;
    TbsStdCommand Command = TbsStdCommand::cmDefault;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    std::string RestoreHint;
    std::string FTempHint;

private:
    bool IconMode() const;
};

// Restore state shared by the system buttons and the animated buttons.
bool CommandInRestoreState(const TbsSkinForm* form, TbsStdCommand command);
// What a click on a button with this command does, for the system and animated buttons.
void PerformFormCommand(TbsSkinForm* form, TbsStdCommand command);

} // namespace skin

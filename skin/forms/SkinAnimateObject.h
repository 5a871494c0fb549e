#pragma once
// A caption object whose image is one frame of a strip of equal frames.  As a button it plays
// its frames forward while hovered and back when the mouse leaves, shows a pressed image and
// performs a command of the form on click; the form's animation timer steps it.
#include "skin/forms/ActiveSkinObject.h"

namespace skin {

class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
    TbsSkinAnimateObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    void Draw(gui::TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, gui::TMouseButton Button) override;
    void MouseUp(int X, int Y, gui::TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    int Frame() const { return FFrame; }
    void SetFrame(int value);
    void Start();
    void Stop();
    // One tick (25 ms) of the form's animation timer.
    void ChangeFrame();
    void ButtonClick();
    void TrackMenu();
    // The strip can play: it has at least one frame.
    bool CanAnimate() const { return CountFrames >= 1; }
    // A menu this object opened has closed: play back from the last frame.
    void MenuClosed();

    int FFrame = 1;
    int FInc = 25;
    int TimerInterval = 25;
    gui::TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false;
    bool FDown = false;
    bool FMenuTracking = false;
    int CountFrames = 0;
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Increment = true;
    TbsStdCommand Command = TbsStdCommand::cmDefault;
    TRect DownSkinRect;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    std::string RestoreHint;
    std::string FTempHint;

private:
    bool InRestoreState() const;
    void StartTimerOrDraw();
};

} // namespace skin

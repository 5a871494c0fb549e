#pragma once
// The main window's preview: the player's picture in Panel6, the seek slider and the row of
// buttons under it (play, pause, stop, mute/unmute, snapshot, snapshot settings), and the
// snapshot menu. The player's events arrive here on the GUI thread.
#include "media/FFPlayer.h"

#include <cstdint>
#include <functional>
#include <string>

namespace gui {
class TMenuItem;
class TWinControl;
} // namespace gui
namespace skin {
class TbsSkinButton;
class TbsSkinSlider;
} // namespace skin

namespace app {

class TForm1;

// The stream lists of the opened file (kept off-screen: nothing lets the user pick from them).
struct TStreamList {
    std::vector<std::string> Items;
    int ItemIndex = -1;
    bool Enabled = false;
};

class TPreviewPanel {
public:
    explicit TPreviewPanel(TForm1& AForm);
    ~TPreviewPanel();
    TPreviewPanel(const TPreviewPanel&) = delete;
    TPreviewPanel& operator=(const TPreviewPanel&) = delete;

    // Opens the form's T_Movie_PLayer_FileName into Panel6, paused; what the row selection
    // calls.
    void OpenFile(const std::string& AFileName);
    // Drops the last picture: the stopped surface shows black until the next file opens.
    void Blank();

    skin::TbsSkinSlider* bsSkinSlider1 = nullptr;
    skin::TbsSkinButton *bsSkinButton13 = nullptr, *bsSkinButton14 = nullptr, *bsSkinButton15 = nullptr,
                        *bsSkinButton16 = nullptr, *bsSkinButton20 = nullptr, *bsSkinButton22 = nullptr,
                        *bsSkinButton23 = nullptr, *bsSkinButton17 = nullptr;
    gui::TMenuItem *MenuItem1 = nullptr, *MenuItem2 = nullptr, *N27 = nullptr, *BMP1 = nullptr,
                   *JPG1 = nullptr, *GIF1 = nullptr, *PNG1 = nullptr;

    // The settings of the off-screen panel, at their start values.
    int cboVideoDriver = 0, cboAudioDriver = 0;
    bool chkOpenPaused = true;
    bool chkStayOnTop = false;
    int TrackBar2 = 128;
    std::string Label2 = "N/A", Label3 = "N/A";
    TStreamList cboVideo, cboAudio, cboSubtitle;

    int64_t FDuration = 0;
    bool FTrackChanging = false;
    gui::TWinControl* FScreenControl = nullptr;

    // The handlers.
    void Button31Click();
    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(int64_t APTS);
    void FFPlayerState(media::TPlayState AState);
    void bsSkinSlider1MouseDown();
    void bsSkinSlider1MouseUp();
    void bsSkinButton13Click(); // play
    void bsSkinButton14Click(); // pause
    void bsSkinButton15Click(); // stop
    void bsSkinButton16Click(); // mute
    void bsSkinButton20Click(); // unmute
    void TrackBar2Change(int APosition);
    void bsSkinButton22Click(); // snapshot
    void bsSkinButton23Click(); // the type ticks from the settings
    void PictureTypeClick(const std::string& AType);
    void MenuItem1Click(); // open the snapshot folder
    void MenuItem2Click(); // choose the snapshot folder

    // The shell's opening of a folder; tests record it here.
    std::function<void(const std::string& AFolder)> OpenFolder;

private:
    void OpenPreview();
    void FocusFileList();
    void CheckType(const std::string& AType);

    TForm1& form_;
};

} // namespace app

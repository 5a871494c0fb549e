#include "app/PreviewPanel.h"

#include "app/AppPaths.h"
#include "app/MainForm.h"
#include "app/OptionIni.h"
#include "app/Snapshots.h"
#include "app/ToolGlyphs.h"
#include "gui/CustomListView.h"
#include "gui/CustomPanel.h"
#include "gui/MenuItem.h"
#include "gui/PopupMenu.h"
#include "gui/Screen.h"
#include "os/DesktopServices.h"
#include "os/Paths.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinSlider.h"
#include "win/FrameHost.h"

#include <cstdio>
#include <exception>

namespace app {

namespace {

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

const char* StateName(media::TPlayState state) {
    static const char* const names[] = {"Play", "Pause", "Resume", "Step", "Stop", "End"};
    return names[state];
}

} // namespace

TPreviewPanel::TPreviewPanel(TForm1& AForm) : form_(AForm) {
    TForm1* f = &form_;
    auto place = [f](auto* c, int x, int y, int w, int h) {
        c->SetSkinData(f->bsSkinData1);
        c->SetBounds(x, y, w, h);
        c->SetParent(f->PreviewPanel);
        return c;
    };
    f->Panel6->SetBounds(9, 27, 200, 124);
    bsSkinSlider1 = place(new skin::TbsSkinSlider(f), 7, 154, 200, 31);
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->OnMouseDown = [this](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
        bsSkinSlider1MouseDown();
    };
    bsSkinSlider1->OnMouseUp = [this](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) {
        bsSkinSlider1MouseUp();
    };

    auto button = [&](int x, int y, const char* hint, TToolGlyph glyph, std::function<void()> click) {
        auto* b = place(new skin::TbsSkinButton(f), x, y, 30, 30);
        b->SetGlyph(MakeToolGlyph(glyph, 20).get());
        b->SetNumGlyphs(2);
        b->Hint = hint;
        b->SetShowHint(true);
        if (click) b->OnClick = [click](gui::TObject*) { click(); };
        return b;
    };
    bsSkinButton13 = button(5, 186, "播放", TToolGlyph::Start, [this] { bsSkinButton13Click(); });
    bsSkinButton14 = button(39, 186, "暂停", TToolGlyph::Pause, [this] { bsSkinButton14Click(); });
    bsSkinButton15 = button(73, 186, "停止", TToolGlyph::Stop, [this] { bsSkinButton15Click(); });
    bsSkinButton16 = button(109, 186, "静音", TToolGlyph::Sound, [this] { bsSkinButton16Click(); });
    bsSkinButton20 = button(109, 186, "静音", TToolGlyph::Muted, [this] { bsSkinButton20Click(); });
    bsSkinButton20->SetVisible(false);
    bsSkinButton22 = button(145, 186, "快照", TToolGlyph::Camera, [this] { bsSkinButton22Click(); });
    bsSkinButton23 = button(181, 186, "设置", TToolGlyph::Options, [this] { bsSkinButton23Click(); });
    bsSkinButton17 = button(206, 226, "全屏", TToolGlyph::Resume, {});
    bsSkinButton17->SetVisible(false);

    // The snapshot menu, also the settings button's context menu.
    gui::TPopupMenu* menu = f->bsSkinPopupMenu2;
    auto item = [&](gui::TMenuItem* parent, const char* caption, std::function<void()> click) {
        auto* i = new gui::TMenuItem(f);
        i->SetCaption(caption);
        if (click) i->OnClick = [click](gui::TObject*) { click(); };
        parent->Add(i);
        return i;
    };
    MenuItem1 = item(menu->Items(), "打开快照目录", [this] { MenuItem1Click(); });
    MenuItem2 = item(menu->Items(), "设置快照目录", [this] { MenuItem2Click(); });
    item(menu->Items(), "-", {});
    N27 = item(menu->Items(), "快照保存类型", {});
    BMP1 = item(N27, "BMP文件", [this] { PictureTypeClick("BMP"); });
    JPG1 = item(N27, "JPG文件", [this] { PictureTypeClick("JPG"); });
    GIF1 = item(N27, "GIF文件", [this] { PictureTypeClick("GIF"); });
    PNG1 = item(N27, "PNG文件", [this] { PictureTypeClick("PNG"); });
    for (gui::TMenuItem* i : {BMP1, JPG1, GIF1, PNG1}) {
        i->SetRadioItem(true);
        i->SetGroupIndex(1);
    }
    BMP1->SetChecked(true);
    bsSkinButton23->SetPopupMenu(menu);
    bsSkinButton23->OnMouseDown = [this, menu](gui::TObject*, gui::TMouseButton button, gui::TShiftState,
                                               int x, int y) {
        if (button != gui::mbLeft) return;
        gui::TPoint at = bsSkinButton23->ClientToScreen({x, y});
        menu->Popup(at.x, at.y);
    };

    media::TFFPlayer* player = f->FFPlayer;
    player->OnFileOpen = [this](os::TObject*, int64_t d, int w, int h, int& sw, int& sh) {
        FFPlayerFileOpen(d, w, h, sw, sh);
    };
    player->OnPosition = [this](os::TObject*, int64_t pts) { FFPlayerPosition(pts); };
    player->OnState = [this](os::TObject*, media::TPlayState s) { FFPlayerState(s); };
    player->SetAudioVolume(TrackBar2);
}

TPreviewPanel::~TPreviewPanel() {
    // The player outlives this panel (the form owns it): its events must not reach us.
    media::TFFPlayer* player = form_.FFPlayer;
    player->OnFileOpen = nullptr;
    player->OnPosition = nullptr;
    player->OnState = nullptr;
    player->Stop(true);
}

void TPreviewPanel::OpenFile(const std::string& AFileName) {
    bsSkinSlider1->SetValue(0);
    form_.T_Movie_PLayer_FileName = AFileName;
    Button31Click();
}

void TPreviewPanel::Blank() {
    if (!form_.Panel6->HandleAllocated()) return;
    // The host keeps the last picture for repaints; without it the panel paints its own black.
    UnregisterFrameHost(form_.Panel6->Handle());
    form_.Panel6->Invalidate();
}

void TPreviewPanel::Button31Click() {
    media::TFFPlayer* player = form_.FFPlayer;
    if (!player->AVLibLoaded() && !player->LoadAVLib(os::ExeFolder() + "LibAV")) {
        form_.Log(player->LastErrMsg());
        return;
    }
    // The preview-target list always names Panel6.
    FScreenControl = nullptr;
    const std::string target = form_.cboScreens ? form_.cboScreens->Text() : std::string("Panel6");
    for (int i = 0; i < form_.ControlCount() && !FScreenControl; ++i) {
        auto* w = dynamic_cast<gui::TWinControl*>(form_.Controls(i));
        if (w && w->Name() == target) FScreenControl = w;
    }
    if (!FScreenControl && target == form_.Panel6->Name()) FScreenControl = form_.Panel6;
    player->VideoDriver = cboVideoDriver == 1   ? media::vdDirectDraw
                          : cboVideoDriver == 2 ? media::vdGDI
                                                : media::vdDefault;
    player->AudioDriver = cboAudioDriver == 1   ? media::adDirectSound
                          : cboAudioDriver == 2 ? media::adWaveOut
                                                : media::adDefault;
    OpenPreview();
}

void TPreviewPanel::OpenPreview() {
    media::TFFPlayer* player = form_.FFPlayer;
    HWND screen = form_.Panel6->Handle();
    // A file's preview never shows another file's picture: the last playback ends and the panel
    // forgets its picture before the next file opens, whether that opens or not.
    player->Stop(true);
    UnregisterFrameHost(screen);
    RegisterFrameHost(screen);
    if (!player->Open(form_.T_Movie_PLayer_FileName, reinterpret_cast<uintptr_t>(screen), chkOpenPaused))
        form_.Log(player->LastErrMsg());
}

void TPreviewPanel::FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                                     int& AScreenHeight) {
    media::TFFPlayer* player = form_.FFPlayer;
    form_.Log(player->AVProbe().FileInfoText());
    char line[128];
    std::snprintf(line, sizeof line, "duration: %f, frame size: %dx%d",
                  static_cast<double>(ADuration) / 1000000, AFrameWidth, AFrameHeight);
    form_.Log(line);
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    } else {
        AScreenWidth = gui::Screen->Width();
        AScreenHeight = gui::Screen->Height();
    }
    FDuration = ADuration;
    Label2 = Fixed(static_cast<double>(ADuration) / 1000000, 2);
    Label3 = "0.0";
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->SetValue(0);
    FTrackChanging = true;
    bsSkinSlider1->SetValue(0);
    FTrackChanging = false;

    cboVideo = {};
    cboAudio = {};
    cboSubtitle = {};
    media::TAVProbe& probe = player->AVProbe();
    for (int i = 0; i < probe.StreamCount(); ++i) {
        if (probe.IsVideoStream(i))
            cboVideo.Items.push_back("Video#" + std::to_string(i));
        else if (probe.IsAudioStream(i))
            cboAudio.Items.push_back("Audio#" + std::to_string(i));
        else if (probe.IsSubtitleStream(i))
            cboSubtitle.Items.push_back("Subtitle#" + std::to_string(i));
    }
    auto select = [](TStreamList& list, const std::string& entry) {
        list.ItemIndex = -1;
        for (size_t i = 0; i < list.Items.size(); ++i)
            if (list.Items[i] == entry) list.ItemIndex = static_cast<int>(i);
    };
    const int video = player->VideoStreamIndex(), audio = player->AudioStreamIndex();
    cboVideo.Enabled = cboVideo.Items.size() >= 2 && video >= 0;
    select(cboVideo, "Video#" + std::to_string(video));
    cboAudio.Enabled = cboAudio.Items.size() >= 2 && audio >= 0;
    select(cboAudio, "Audio#" + std::to_string(audio));
    cboSubtitle.Enabled = !cboSubtitle.Items.empty() && video >= 0;
    if (cboSubtitle.Enabled) {
        cboSubtitle.Items.insert(cboSubtitle.Items.begin(), "Subtitle#-1");
        select(cboSubtitle, "Subtitle#" + std::to_string(player->SubtitleStreamIndex()));
    }
}

void TPreviewPanel::FFPlayerPosition(int64_t APTS) {
    if (form_.bsSkinSlider1_down_UP != "UP") return;
    Label3 = Fixed(static_cast<double>(APTS) / 1000000, 6);
    if (APTS >= 0 && FDuration > 0)
        bsSkinSlider1->SetValue(static_cast<int>(int64_t{bsSkinSlider1->MaxValue()} * APTS / FDuration));
}

void TPreviewPanel::FFPlayerState(media::TPlayState AState) {
    form_.Log(StateName(AState));
    media::TFFPlayer* player = form_.FFPlayer;
    switch (AState) {
    case media::psPlay:
    case media::psResume:
        if (chkStayOnTop) form_.SetFormStyle(gui::fsStayOnTop);
        break;
    case media::psPause:
    case media::psStep:
        form_.SetFormStyle(gui::fsNormal);
        break;
    case media::psStop:
        form_.SetFormStyle(gui::fsNormal);
        if (player->ScreenHandle()) {
            form_.Panel6->Invalidate();
            form_.Panel6->Update();
        }
        break;
    case media::psEnd:
        // Back to the start, waiting there.
        player->Seek(int64_t{0}, {media::sfAny}, false);
        player->Pause();
        break;
    }
}

void TPreviewPanel::bsSkinSlider1MouseDown() {
    form_.bsSkinSlider1_down_UP = "Down";
    form_.FFPlayer->Pause();
}

void TPreviewPanel::bsSkinSlider1MouseUp() {
    media::TFFPlayer* player = form_.FFPlayer;
    player->Pause();
    const int maximum = bsSkinSlider1->MaxValue();
    const int64_t target = maximum > 0 ? FDuration * bsSkinSlider1->Value() / maximum : 0;
    player->Seek(target, {}, false);
    player->Resume();
    form_.bsSkinSlider1_down_UP = "UP";
}

void TPreviewPanel::FocusFileList() {
    if (form_.lvFiles->CanFocus()) form_.lvFiles->SetFocus();
}

void TPreviewPanel::bsSkinButton13Click() {
    form_.FFPlayer->Resume();
    FocusFileList();
}

void TPreviewPanel::bsSkinButton14Click() {
    form_.FFPlayer->Pause();
    FocusFileList();
}

void TPreviewPanel::bsSkinButton15Click() {
    if (!form_.lvFiles->Selected()) return;
    try {
        form_.FFPlayer->Stop(true);
        OpenPreview();
        FocusFileList();
    } catch (const std::exception&) {
        form_.FFPlayer->Stop(true);
    }
}

void TPreviewPanel::bsSkinButton16Click() {
    form_.FFPlayer->SetMute(true);
    bsSkinButton20->SetVisible(true);
    bsSkinButton16->SetVisible(false);
}

void TPreviewPanel::bsSkinButton20Click() {
    form_.FFPlayer->SetMute(false);
    bsSkinButton20->SetVisible(false);
    bsSkinButton16->SetVisible(true);
}

void TPreviewPanel::TrackBar2Change(int APosition) {
    TrackBar2 = APosition;
    form_.FFPlayer->SetAudioVolume(APosition);
}

void TPreviewPanel::CheckType(const std::string& AType) {
    gui::TMenuItem* item = AType == "JPG" ? JPG1 : AType == "GIF" ? GIF1 : AType == "PNG" ? PNG1 : BMP1;
    for (gui::TMenuItem* i : {BMP1, JPG1, GIF1, PNG1}) i->SetChecked(i == item);
}

void TPreviewPanel::bsSkinButton22Click() {
    // The player's bitmap is overwritten by its next call: copy it at once.
    const media::TFrameBitmap picture = form_.FFPlayer->CurrentFrame();
    const std::string folder = SnapshotFolder(form_.OptionIni());
    const std::string type = SnapshotPictureType(form_.OptionIni());
    CheckType(type);
    if (picture.Width() <= 0) return;
    if (std::string why = FolderWriteProblem(folder); !why.empty()) {
        form_.Message("无法保存快照：" + folder + "\n" + why);
        return;
    }
    const std::string name = SnapshotFileName(folder, form_.T_Movie_PLayer_FileName, type);
    std::string error;
    if (!SaveSnapshot(picture, name, type, error)) form_.Message("无法保存快照：" + name + "\n" + error);
}

void TPreviewPanel::bsSkinButton23Click() {
    CheckType(SnapshotPictureType(form_.OptionIni()));
}

void TPreviewPanel::PictureTypeClick(const std::string& AType) {
    form_.OptionIni().Write(kSnapshotSection, "Picture", AType);
    CheckType(AType);
}

void TPreviewPanel::MenuItem1Click() {
    const std::string folder = SnapshotFolder(form_.OptionIni());
    if (OpenFolder)
        OpenFolder(folder);
    else
        os::OpenWithDesktop(folder);
}

void TPreviewPanel::MenuItem2Click() {
    // The outcome is not asked: the folder is the one the dialog last confirmed.
    if (form_.SelectDirectory)
        form_.SelectDirectory("选择输出目录", form_.bsSkinSelectDirectoryDialog2_Directory);
    const std::string& folder = form_.bsSkinSelectDirectoryDialog2_Directory;
    if (!folder.empty() && os::DirectoryExists(folder))
        form_.OptionIni().Write(kSnapshotSection, "Dir", folder);
}

} // namespace app

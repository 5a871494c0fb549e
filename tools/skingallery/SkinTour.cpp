#include "SkinTour.h"

#include "WindowShot.h"
#include "app/MainForm.h"
#include "app/OpenDialogFilter.h"
#include "app/OptionsForm.h"
#include "display/headless/Headless.h"
#include "gui/Application.h"
#include "gui/PopupMenu.h"
#include "gui/Screen.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Message.h"
#include "win/Messages.h"

#include <chrono>
#include <thread>

namespace skingallery {

namespace {

// Hover transitions run on timers for a few hundred milliseconds: the picture waits them out.
void Settle() {
    for (int i = 0; i < 40; ++i) {
        win::RunUntilIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

SkinTour::SkinTour(std::string sampleFolder) : sampleFolder_(std::move(sampleFolder)) {
    main_ = new app::TForm1(gui::Application);
    main_->AfterConstruction();
    options_ = new app::TForm5(gui::Application, main_);
    options_->AfterConstruction();
    main_->OptionsForm = options_;
    main_->SetBounds(0, 0, main_->Width(), main_->Height());
    main_->Show();
    win::RunUntilIdle();
}

SkinTour::~SkinTour() {
    delete options_;
    delete main_;
    win::RunUntilIdle();
}

int SkinTour::SkinCount() const {
    return main_->bsCompressedSkinList1->Skins().Count();
}

gdi::image::Image SkinTour::ShootModal(const std::function<void()>& execute) {
    display::Headless& d = *display::HeadlessDisplay();
    gdi::image::Image shot;
    int looks = 0;
    d.SetIdleHandler([&] {
        gui::TCustomForm* modal = nullptr;
        for (int i = 0; i < gui::Screen->FormCount() && !modal; ++i)
            if (gui::Screen->Forms(i)->FormState & gui::fsModal) modal = gui::Screen->Forms(i);
        // A few quiet looks first: lists fill and pictures load after the window shows.
        if (modal && ++looks == 4) {
            shot = ShootWindow(modal->Handle());
            modal->SetModalResult(gui::mrCancel);
        }
        d.Wake();
    });
    execute();
    d.SetIdleHandler(nullptr);
    win::RunUntilIdle();
    return shot;
}

ContactSheet SkinTour::Visit(int skinIndex) {
    skin::TbsSkinData& data = *main_->bsSkinData1;
    data.SetSkinIndex(skinIndex);
    win::RunUntilIdle();
    ContactSheet sheet(std::to_string(skinIndex) + "  " + data.SkinName);

    sheet.Add("主窗口 main window", ShootWindow(main_->Handle()));
    options_->SetBounds(0, 0, options_->Width(), options_->Height());
    options_->Show();
    win::RunUntilIdle();
    sheet.Add("选项 options", ShootWindow(options_->Handle()));
    options_->Hide();
    win::RunUntilIdle();
    sheet.NextRow();

    // The add menu, open on its first row as under the mouse.
    main_->bsSkinPopupMenu1->Popup(40, 120);
    win::RunUntilIdle();
    skin::TbsSkinMenu* menu = main_->bsSkinForm1->SkinMenu();
    if (menu->LevelCount() > 0) {
        menu->Level(0)->PopupKeyDown(VK_DOWN);
        Settle();
        sheet.Add("菜单 menu", ShootWindow(menu->Level(0)->Handle()));
        menu->Hide();
        win::RunUntilIdle();
    }

    skin::TbsSkinOpenDialog open(main_);
    open.SetSkinData(&data);
    open.SetCtrlSkinData(&data);
    open.Title = "打开";
    open.Filter = app::OpenDialogFilter();
    open.InitialDir = sampleFolder_;
    sheet.Add("打开 open", ShootModal([&] { open.Execute(); }));

    skin::TbsSelectSkinDialog& chooser = *main_->bsSelectSkinDialog1;
    sheet.Add("皮肤 skins", ShootModal([&] { chooser.Execute(skinIndex); }));
    return sheet;
}

} // namespace skingallery

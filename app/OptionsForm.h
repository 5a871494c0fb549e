#pragma once
// TForm5, the options dialog: what happens after the list is done, what to do when an output
// file exists, how many files convert at once and at which priority, and whether converted
// frames are previewed. Its controls hold the live settings for the whole run; option.ini
// carries them to the next run and is written only by OK.
#include "app/ConverterOptions.h"
#include "gui/Forms.h"

namespace skin {
class TbsSkinForm;
class TbsSkinGroupBox;
class TbsSkinCheckRadioBox;
class TbsSkinComboBox;
class TbsSkinButton;
} // namespace skin

namespace app {

class TForm1;

class TForm5 : public gui::TForm {
public:
    // Without a main window given, the application's main form is the main window.
    explicit TForm5(gui::TComponent* AOwner, TForm1* AMainForm = nullptr);
    std::string ClassName() const override { return "TForm5"; }

    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox1 = nullptr; // 自动打开输出文件夹
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox2 = nullptr; // 自动关闭计算机
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox4 = nullptr; // 播放提示音乐
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox5 = nullptr; // 不进行任何操作
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox3 = nullptr; // 直接覆盖输出文件
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox6 = nullptr; // 自动重命名输出文件
    skin::TbsSkinComboBox* bsSkinComboBox2 = nullptr;           // thread count
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox8 = nullptr; // preview
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox7 = nullptr; // hidden thread mode
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox9 = nullptr; // idle
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox10 = nullptr;
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox11 = nullptr;
    skin::TbsSkinCheckRadioBox* bsSkinCheckRadioBox12 = nullptr; // normal
    skin::TbsSkinButton* bsSkinButton6 = nullptr;                // 确定
    skin::TbsSkinButton* bsSkinButton1 = nullptr;                // 取消

    void FormCreate(gui::TObject* Sender);
    void Button1Click(); // read [Options] into the controls
    void Button2Click(); // write the controls into [Options]
    void bsSkinButton6Click(gui::TObject* Sender);
    void bsSkinButton1Click(gui::TObject* Sender);
    void bsSkinCheckRadioBox8Click(gui::TObject* Sender);
    void bsSkinCheckRadioBox7Click(gui::TObject* Sender);

    // The settings as the controls hold them now.
    TConverterOptions Options() const;
    void SetOptions(const TConverterOptions& AOptions);
    bool OverwriteChecked() const;
    std::string ThreadCountText() const;

private:
    TForm1* main_;
};

} // namespace app

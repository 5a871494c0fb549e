#pragma once
// TForm6, the per-file settings dialog "设置选项": its own category, format and preset pickers
// over its own tables. "确定" writes the chosen format's encoding parameters, output name and
// preset choices into the main window's parameter set; "取消" only closes it. Program start
// makes it hidden after the options dialog.
#include "app/PresetPickers.h"
#include "catalogue/ParameterSet.h"
#include "catalogue/PresetLists.h"
#include "gui/Forms.h"

#include <functional>
#include <string>

namespace gui {
class TButton;
class TImage;
class TImageList;
class TPanel;
} // namespace gui
namespace media {
class TFFmpegConverter;
}
namespace skin {
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinTextLabel;
class TbsSkinButton;
class TbsSkinComboBox;
class TbsSkinPageControl;
class TbsSkinTabSheet;
} // namespace skin

namespace app {

class TForm1;
class TFormatPicker;

class TForm6 : public gui::TForm {
public:
    // Without a main window given, the application's main form is the main window.
    explicit TForm6(gui::TComponent* AOwner, TForm1* AMainForm = nullptr);
    std::string ClassName() const override { return "TForm6"; }

    skin::TbsSkinPanel* bsSkinPanel2 = nullptr;
    TFormatPicker* bsSkinOfficeComboBox1 = nullptr; // format
    TFormatPicker* bsSkinOfficeComboBox2 = nullptr; // category
    skin::TbsSkinButton* bsSkinButton1 = nullptr;   // 设置, never shown
    gui::TPanel* Panel1 = nullptr;                  // the procedure buttons
    gui::TImage* Image1 = nullptr;
    gui::TButton *Button6 = nullptr, *Button5 = nullptr, *Button7 = nullptr, *Button2 = nullptr,
                 *Button13 = nullptr, *Button11 = nullptr, *Button18 = nullptr;
    skin::TbsSkinPageControl* bsSkinPageControl1 = nullptr;
    skin::TbsSkinTabSheet *bsSkinTabSheet1 = nullptr, *bsSkinTabSheet2 = nullptr, *FilterSheet = nullptr,
                          *bsSkinTabSheet3 = nullptr;
    skin::TbsSkinComboBox *bsSkinComboBox1 = nullptr, *bsSkinComboBox2 = nullptr, *bsSkinComboBox3 = nullptr,
                          *bsSkinComboBox4 = nullptr, *bsSkinComboBox9 = nullptr, *bsSkinComboBox10 = nullptr;
    skin::TbsSkinButton* bsSkinButton3 = nullptr; // 取消
    skin::TbsSkinButton* bsSkinButton2 = nullptr; // 确定
    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    media::TFFmpegConverter* FFConverter = nullptr;
    gui::TImageList* ImageList1 = nullptr;
    gui::TImageList* ImageList2 = nullptr;

    void FormCreate(gui::TObject* Sender);
    void bsSkinOfficeComboBox2Change(gui::TObject* Sender);
    void bsSkinOfficeComboBox1Click(gui::TObject* Sender);
    void bsSkinButton2Click(gui::TObject* Sender); // 确定
    void bsSkinButton3Click(gui::TObject* Sender); // 取消
    void Button2Click();                           // fill the format list for the category
    void Button5Click();                           // encoding parameters and output name
    void Button6Click();                           // reset the parameter set
    void Button13Click();                          // the preset override
    void Button18Click();                          // refill the preset pickers

    skin::TbsSkinComboBox* PresetPicker(catalogue::TPresetPicker APicker) const;
    TPresetPickerFields PresetPickerFields() const;
    int CategoryPosition() const;
    int FormatPosition() const;

    // Whether a file exists, as the output name asks it (tests answer it here).
    std::function<bool(const std::string&)> FileExists;

private:
    TForm1* main_;
};

} // namespace app

#include "app/SettingsForm.h"

#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/ProgramEmblem.h"
#include "catalogue/OutputFileName.h"
#include "catalogue/PresetEntries.h"
#include "catalogue/PresetText.h"
#include "catalogue/SettingsTables.h"
#include "gui/CustomPanel.h"
#include "gui/Image.h"
#include "gui/ImgList.h"
#include "gui/StdCtrls.h"
#include "media/FFmpegConverter.h"
#include "os/Paths.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinTextLabel.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"

namespace app {

using catalogue::TPresetPicker;

namespace {

template <class T>
T* Place(gui::TComponent* owner, skin::TbsSkinData* data, gui::TWinControl* parent, int x, int y, int w,
         int h, const std::string& caption = std::string()) {
    auto* c = new T(owner);
    if constexpr (requires { c->SetSkinData(data); }) c->SetSkinData(data);
    c->SetBounds(x, y, w, h);
    if (!caption.empty()) c->SetCaption(caption);
    c->SetParent(parent);
    return c;
}

void SetSongTi(gui::TFont* font) {
    font->SetName("宋体");
    font->SetHeight(-12);
}

} // namespace

TForm6::TForm6(gui::TComponent* AOwner, TForm1* AMainForm)
    : gui::TForm(AOwner), main_(AMainForm ? AMainForm : MainWindow()) {
    SetName("Form6");
    SetCaption("设置选项");
    SetBorderStyle(gui::bsSingle);
    SetPosition(gui::poMainFormCenter);
    SetClientSize(958, 474);
    Font()->SetName("Tahoma");
    Font()->SetHeight(-11);
    skin::TbsSkinData* data = main_->bsSkinData1;

    bsSkinPanel2 = Place<skin::TbsSkinPanel>(this, data, this, 39, 36, 625, 109);
    auto* formatLabel = Place<skin::TbsSkinTextLabel>(this, data, bsSkinPanel2, 17, 48, 64, 16);
    formatLabel->Lines()->Add("输出格式：");

    bsSkinOfficeComboBox1 = Place<TFormatPicker>(this, data, bsSkinPanel2, 215, 33, 400, 51);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetListBoxHeaderHeight(20);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxShowLines(true);
    bsSkinOfficeComboBox1->SetListBoxSkinDataName("listbox");
    bsSkinOfficeComboBox1->SetDropDownCount(4);
    SetSongTi(bsSkinOfficeComboBox1->DefaultFont());
    // The stored placeholder; creation replaces it with the first category's formats.
    bsSkinOfficeComboBox1->AddItem("dfdfs", "fddf", -1);
    bsSkinOfficeComboBox1->SetStoredItemIndex(0);
    bsSkinOfficeComboBox1->OnClick = [this](gui::TObject* s) { bsSkinOfficeComboBox1Click(s); };

    ImageList1 = new gui::TImageList(this);
    ImageList1->SetSize(32, 32);
    ImageList2 = new gui::TImageList(this);
    ImageList2->SetSize(32, 32);

    bsSkinOfficeComboBox2 = Place<TFormatPicker>(this, data, bsSkinPanel2, 83, 33, 126, 51);
    bsSkinOfficeComboBox2->SetImages(ImageList1);
    bsSkinOfficeComboBox2->ListBoxWidth = 119;
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetListBoxHeaderHeight(20);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxShowLines(false);
    bsSkinOfficeComboBox2->SetListBoxSkinDataName("resizetoolpanel");
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    bsSkinOfficeComboBox2->SetListBoxUseSkinFont(false);
    SetSongTi(bsSkinOfficeComboBox2->DefaultFont());
    for (const catalogue::TSettingsCategory& c : catalogue::SettingsCategories())
        bsSkinOfficeComboBox2->AddItem("", c.Caption, c.ImageIndex);
    bsSkinOfficeComboBox2->SetStoredItemIndex(0);
    bsSkinOfficeComboBox2->OnChange = [this](gui::TObject* s) { bsSkinOfficeComboBox2Change(s); };

    bsSkinButton1 = Place<skin::TbsSkinButton>(this, nullptr, bsSkinPanel2, 621, 139, 55, 51, "设置");
    bsSkinButton1->SetSkinDataName("resizebutton");
    bsSkinButton1->SetVisible(false);

    // The dialog's procedures live on buttons, as the main window's do; the panel is never seen.
    Panel1 = Place<gui::TPanel>(this, nullptr, this, 690, 161, 305, 305, "Panel1");
    Image1 = Place<gui::TImage>(this, nullptr, Panel1, 46, 158, 171, 103);
    LoadProgramEmblem(*Image1, 128);
    auto button = [&](int x, int y, int w, const char* caption, std::function<void()> run) {
        auto* b = Place<gui::TButton>(this, nullptr, Panel1, x, y, w, 25, caption);
        if (run) b->OnClick = [run = std::move(run)](gui::TObject*) { run(); };
        return b;
    };
    Button6 = button(32, 47, 75, "初始化数据", [this] { Button6Click(); });
    Button5 = button(113, 47, 126, "根据combox添加数据", [this] { Button5Click(); });
    Button7 = button(230, 47, 75, "确认oo数据", nullptr);
    Button2 = button(32, 78, 104, "添加combox", [this] { Button2Click(); });
    Button13 = button(32, 109, 113, "确认预置选项数据", [this] { Button13Click(); });
    Button11 = button(151, 78, 95, "onchange用", nullptr);
    Button18 = button(42, 163, 143, "根据combox添加预设选项", [this] { Button18Click(); });

    bsSkinPageControl1 = Place<skin::TbsSkinPageControl>(this, data, this, 39, 171, 625, 222);
    auto sheet = [&](const char* caption) {
        auto* s = new skin::TbsSkinTabSheet(this);
        s->SetCaption(caption);
        s->SetPageControl(bsSkinPageControl1);
        return s;
    };
    bsSkinTabSheet1 = sheet("标准参数设置");
    bsSkinTabSheet2 = sheet("剪辑设置");
    FilterSheet = sheet("滤镜设置");
    bsSkinTabSheet3 = sheet("文字水印");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    struct PickerPlace {
        skin::TbsSkinComboBox** picker;
        const char* label;
        int lx, ly, px, py, w;
    };
    const PickerPlace places[] = {
        {&bsSkinComboBox1,  "视频分辨率：", 19,  24,  16,  43,  289},
        {&bsSkinComboBox2,  "视频比特率：", 342, 24,  342, 43,  251},
        {&bsSkinComboBox9,  "视频帧率：",    16,  69,  14,  88,  291},
        {&bsSkinComboBox4,  "视频缩放：",    342, 69,  342, 88,  251},
        {&bsSkinComboBox3,  "音频比特率：", 16,  114, 16,  133, 289},
        {&bsSkinComboBox10, "音频采样率：", 342, 114, 342, 133, 251},
    };
    for (const PickerPlace& p : places) {
        auto* label = Place<skin::TbsSkinTextLabel>(this, data, bsSkinTabSheet1, p.lx, p.ly, 120, 16);
        label->Lines()->Add(p.label);
        *p.picker = Place<skin::TbsSkinComboBox>(this, data, bsSkinTabSheet1, p.px, p.py, p.w, 20);
        (*p.picker)->SetStyle(skin::TbsSkinCustomComboBoxStyle::bscbFixedStyle);
        (*p.picker)->SetDropDownCount(8);
    }

    bsSkinButton3 = Place<skin::TbsSkinButton>(this, data, this, 594, 416, 69, 25, "取消");
    bsSkinButton3->OnClick = [this](gui::TObject* s) { bsSkinButton3Click(s); };
    bsSkinButton2 = Place<skin::TbsSkinButton>(this, data, this, 480, 416, 69, 25, "确定");
    bsSkinButton2->OnClick = [this](gui::TObject* s) { bsSkinButton2Click(s); };

    bsSkinForm1 = new skin::TbsSkinForm(this);
    bsSkinForm1->SetSkinData(data);
    bsSkinForm1->SetBorderIcons(skin::biSystemMenu | skin::biMinimize | skin::biMaximize | skin::biRollUp);
    bsSkinForm1->SetShowIcon(false);
    bsSkinForm1->Magnetic = false;
    bsSkinForm1->MenusAlphaBlend = false;
    bsSkinForm1->UseDefaultSysMenu = true;
    FFConverter = new media::TFFmpegConverter(this);

    FileExists = [](const std::string& path) { return os::FileExists(path); };
    OnCreate = [this](gui::TObject* s) { FormCreate(s); };
}

void TForm6::FormCreate(gui::TObject*) {
    Button2->Click();
}

void TForm6::bsSkinOfficeComboBox2Change(gui::TObject*) {
    Button2->Click();
}

void TForm6::bsSkinOfficeComboBox1Click(gui::TObject*) {
    Button18->Click();
}

void TForm6::bsSkinButton2Click(gui::TObject*) {
    Button5->Click();
    Button13->Click();
    Close();
}

void TForm6::bsSkinButton3Click(gui::TObject*) {
    Close();
}

int TForm6::CategoryPosition() const {
    return bsSkinOfficeComboBox2->ItemIndex();
}

int TForm6::FormatPosition() const {
    return bsSkinOfficeComboBox1->ItemIndex();
}

skin::TbsSkinComboBox* TForm6::PresetPicker(TPresetPicker APicker) const {
    return PresetPickerOf(PresetPickerFields(), APicker);
}

TPresetPickerFields TForm6::PresetPickerFields() const {
    return {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
            bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
}

void TForm6::Button2Click() {
    bsSkinOfficeComboBox1->ClearItems();
    bsSkinOfficeComboBox1->Invalidate();
    for (const catalogue::TSettingsFormat& f : catalogue::SettingsFormatsOfCategory(CategoryPosition()))
        bsSkinOfficeComboBox1->AddItem(f.Title, f.Caption, f.ImageIndex);
    bsSkinOfficeComboBox1->Invalidate();
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm6::Button6Click() {
    main_->Parameters = catalogue::TParameterSet{};
}

void TForm6::Button5Click() {
    int category = CategoryPosition(), format = FormatPosition();
    main_->All_Trant_Number = (category + 1) * 100 + format;
    int key = catalogue::SettingsFormatKey(category, format);
    // Every format starts from the dialog's defaults, so nothing of the format chosen before
    // leaks into it; a format without a row of its own converts with the defaults alone.
    std::optional<catalogue::TParameterSet> set =
        key < 0 ? std::nullopt : catalogue::SettingsParameterSet(key);
    catalogue::TParameterSet s = set.value_or(catalogue::TParameterSet{});
    const std::string& input = main_->Video_AddFileName;
    std::string ext = set ? catalogue::SettingsNameExt(key) : os::ExtractFileExt(input);
    bool overwrite = main_->OptionsForm && main_->OptionsForm->OverwriteChecked();
    s.Video_OutPutFileName = catalogue::OutputFileNameWithExt(main_->Video_OutPut_Folder_Edit->Text(), input,
                                                              ext, overwrite, FileExists);
    main_->Parameters = s;
}

void TForm6::Button13Click() {
    main_->Parameters = catalogue::WithPresets(main_->Parameters,
                                               [this](TPresetPicker p) { return PresetPicker(p)->Text(); });
}

void TForm6::Button18Click() {
    int code = (CategoryPosition() + 1) * 100 + FormatPosition();
    main_->All_Trant_Number = code;
    main_->Parameters.Video_DisableVideo = false;
    RefillPresetPickers(PresetPickerFields(), catalogue::FindSettingsPresetEntry(code - 100));
}

} // namespace app

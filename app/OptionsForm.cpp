#include "app/OptionsForm.h"

#include "app/MainForm.h"
#include "app/OptionIni.h"
#include "gui/Application.h"
#include "media/FFmpegConverter.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinStdLabel.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinForm.h"

namespace app {

namespace {

template <class T>
T* Place(gui::TComponent* owner, skin::TbsSkinData* data, gui::TWinControl* parent, int x, int y, int w,
         int h, const std::string& caption = std::string()) {
    auto* c = new T(owner);
    c->SetSkinData(data);
    c->SetBounds(x, y, w, h);
    if (!caption.empty()) c->SetCaption(caption);
    c->SetParent(parent);
    return c;
}

} // namespace

TForm5::TForm5(gui::TComponent* AOwner, TForm1* AMainForm)
    : gui::TForm(AOwner), main_(AMainForm ? AMainForm : MainWindow()) {
    SetName("Form5");
    SetCaption("选项");
    SetBorderStyle(gui::bsSingle);
    SetPosition(gui::poMainFormCenter);
    SetClientSize(561, 537);
    skin::TbsSkinData* data = main_->bsSkinData1;
    bsSkinForm1 = new skin::TbsSkinForm(this);
    bsSkinForm1->SetSkinData(data);
    bsSkinForm1->SetBorderIcons(0);

    auto group = [&](int y, int h, const char* caption) {
        return Place<skin::TbsSkinGroupBox>(this, data, this, 12, y, 537, h, caption);
    };
    auto radio = [&](gui::TWinControl* parent, int x, int y, const char* caption) {
        auto* r = Place<skin::TbsSkinCheckRadioBox>(this, data, parent, x, y, 250, 24, caption);
        r->SetRadio(true);
        r->SetSkinDataName("radiobox"); // as a stored radio box names its look
        r->GroupIndex = 1;
        return r;
    };
    auto* done = group(12, 112, "转换工作完成后");
    bsSkinCheckRadioBox1 = radio(done, 16, 32, "自动打开输出文件夹");
    bsSkinCheckRadioBox2 = radio(done, 16, 68, "自动关闭计算机");
    bsSkinCheckRadioBox4 = radio(done, 276, 32, " 播放提示音乐");
    bsSkinCheckRadioBox5 = radio(done, 276, 68, "不进行任何操作");
    bsSkinCheckRadioBox1->SetChecked(true);

    auto* exists = group(132, 76, "如果输出文件存在时");
    bsSkinCheckRadioBox3 = radio(exists, 16, 36, "直接覆盖输出文件");
    bsSkinCheckRadioBox6 = radio(exists, 276, 36, "自动重命名输出文件");
    bsSkinCheckRadioBox6->SetChecked(true);

    auto* params = group(216, 120, "转换参数");
    Place<skin::TbsSkinStdLabel>(this, data, params, 16, 34, 330, 20,
                                 "程序最大运行线程数--（同时进行转换的文件个数）");
    bsSkinComboBox2 = Place<skin::TbsSkinComboBox>(this, data, params, 352, 30, 80, 24);
    for (int i = 1; i <= MaxThreadCount; ++i) bsSkinComboBox2->Items()->Add(std::to_string(i));
    bsSkinComboBox2->SetItemIndex(0);
    bsSkinCheckRadioBox8 =
        Place<skin::TbsSkinCheckRadioBox>(this, data, params, 16, 76, 300, 24, "转换时进行实时视频预览");
    bsSkinCheckRadioBox8->OnClick = [this](gui::TObject* s) { bsSkinCheckRadioBox8Click(s); };
    // Kept off-screen: nothing unchecks it, so the thread count is always in force.
    bsSkinCheckRadioBox7 = Place<skin::TbsSkinCheckRadioBox>(this, data, this, 700, 0, 330, 24,
                                                             "启用多线程模式   （同时进行转换的视频个数）");
    bsSkinCheckRadioBox7->SetVisible(false);
    bsSkinCheckRadioBox7->SetChecked(true);
    bsSkinCheckRadioBox7->OnClick = [this](gui::TObject* s) { bsSkinCheckRadioBox7Click(s); };

    auto* cpu = group(344, 112, "转换时CPU利用方式");
    bsSkinCheckRadioBox9 = radio(cpu, 16, 32, "系统空闲时进行");
    bsSkinCheckRadioBox10 = radio(cpu, 16, 68, "最低优先级进行");
    bsSkinCheckRadioBox11 = radio(cpu, 276, 32, "较低优先级进行");
    bsSkinCheckRadioBox12 = radio(cpu, 276, 68, "正常优先级进行");
    bsSkinCheckRadioBox12->SetChecked(true);

    bsSkinButton6 =
        Place<skin::TbsSkinButton>(this, data, this, 561 - 12 - 88 - 8 - 88, 537 - 12 - 30, 88, 30, "确定");
    bsSkinButton6->OnClick = [this](gui::TObject* s) { bsSkinButton6Click(s); };
    bsSkinButton1 =
        Place<skin::TbsSkinButton>(this, data, this, 561 - 12 - 88, 537 - 12 - 30, 88, 30, "取消");
    bsSkinButton1->OnClick = [this](gui::TObject* s) { bsSkinButton1Click(s); };
    bsSkinButton1->Cancel = true; // Esc

    OnCreate = [this](gui::TObject* s) { FormCreate(s); };
}

void TForm5::FormCreate(gui::TObject*) {
    Button1Click();
}

void TForm5::Button1Click() {
    SetOptions(ReadConverterOptions(main_->OptionIni()));
}

void TForm5::Button2Click() {
    WriteConverterOptions(main_->OptionIni(), Options());
}

void TForm5::bsSkinButton6Click(gui::TObject*) {
    Button2Click();
    SetModalResult(gui::mrOk);
    Close();
}

void TForm5::bsSkinButton1Click(gui::TObject*) {
    SetModalResult(gui::mrCancel);
    Close();
}

void TForm5::bsSkinCheckRadioBox8Click(gui::TObject*) {
    main_->FFConverter->SetPreview(bsSkinCheckRadioBox8->Checked());
}

void TForm5::bsSkinCheckRadioBox7Click(gui::TObject*) {
    bsSkinComboBox2->SetEnabled(bsSkinCheckRadioBox7->Checked());
}

TConverterOptions TForm5::Options() const {
    TConverterOptions o;
    o.ThreadCount = bsSkinComboBox2->ItemIndex() + 1;
    if (bsSkinCheckRadioBox2->Checked()) o.AfterDone = TAfterDone::ShutDown;
    if (bsSkinCheckRadioBox4->Checked()) o.AfterDone = TAfterDone::PlaySound;
    if (bsSkinCheckRadioBox5->Checked()) o.AfterDone = TAfterDone::Nothing;
    o.ShowPreview = bsSkinCheckRadioBox8->Checked();
    if (bsSkinCheckRadioBox9->Checked()) o.Priority = TThreadPriority::Idle;
    if (bsSkinCheckRadioBox10->Checked()) o.Priority = TThreadPriority::Lowest;
    if (bsSkinCheckRadioBox11->Checked()) o.Priority = TThreadPriority::Lower;
    o.OverwriteFile = bsSkinCheckRadioBox3->Checked();
    return o;
}

void TForm5::SetOptions(const TConverterOptions& o) {
    bsSkinComboBox2->SetItemIndex(o.ThreadCount - 1);
    skin::TbsSkinCheckRadioBox* done[] = {bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox4,
                                          bsSkinCheckRadioBox5};
    done[static_cast<int>(o.AfterDone)]->SetChecked(true);
    skin::TbsSkinCheckRadioBox* priority[] = {bsSkinCheckRadioBox9, bsSkinCheckRadioBox10,
                                              bsSkinCheckRadioBox11, bsSkinCheckRadioBox12};
    priority[static_cast<int>(o.Priority)]->SetChecked(true);
    (o.OverwriteFile ? bsSkinCheckRadioBox3 : bsSkinCheckRadioBox6)->SetChecked(true);
    bsSkinCheckRadioBox8->SetChecked(o.ShowPreview);
}

bool TForm5::OverwriteChecked() const {
    return bsSkinCheckRadioBox3->Checked();
}

std::string TForm5::ThreadCountText() const {
    return bsSkinComboBox2->Text();
}

} // namespace app

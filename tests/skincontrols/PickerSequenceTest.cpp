// The main window's pickers driven as the program drives them: the category picker's change
// refills the format picker and chooses its first format; the format picker's change refills
// the six preset pickers and chooses their defaults; a file row then sets category, format and
// the six presets in turn.  The order of the events is what the program's handlers rely on.
#include "ControlFixtures.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinOfficeComboBox.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace skin;
using namespace controltest;

namespace {

using Events = std::vector<std::string>;

const std::map<std::string, std::vector<std::string>> kFormats = {
    {"视频", {"MP4", "AVI"}},
    {"音频", {"MP3"}       },
};
// The six preset pickers in the order a row restores them.
const std::array<std::string, 6> kPresets = {"分辨率", "视频比特率", "音频比特率", "缩放", "帧率", "采样率"};

class PickerSequenceTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(0, 0, 600, 400);
        category_ = Office(10);
        format_ = Office(60);
        for (const char* c : {"视频", "音频"}) category_->Items()->Add()->SetCaption(c);
        category_->OnClick = [this](gui::TObject*) { log_.push_back("category click"); };
        category_->OnChange = [this](gui::TObject*) { CategoryChanged(); };
        format_->OnClick = [this](gui::TObject*) { log_.push_back("format click"); };
        format_->OnChange = [this](gui::TObject*) { FormatChanged(); };
        for (size_t i = 0; i < kPresets.size(); ++i) {
            auto* p = new TbsSkinComboBox(form_);
            p->SetParent(form_);
            p->SetBounds(400, 10 + 30 * static_cast<int>(i), 150, 20);
            p->OnChange = [this, i](gui::TObject*) {
                log_.push_back(kPresets[i] + " change " + presets_[i]->Text());
            };
            presets_[i] = p;
        }
        form_->Show();
        RunUntilIdle();
    }
    TbsSkinOfficeComboBox* Office(int top) {
        auto* c = new TbsSkinOfficeComboBox(form_);
        c->SetParent(form_);
        c->SetBounds(10, top, 341, 41);
        c->SetToolButtonStyle(true);
        return c;
    }
    std::string TitleOf(TbsSkinOfficeComboBox* c) {
        int i = c->ItemIndex();
        return i < 0 ? "-" : (*c->Items())[i]->Title();
    }
    // As the program's category handler: the format list for the category, its first format.
    void CategoryChanged() {
        std::string category = (*category_->Items())[category_->ItemIndex()]->Caption();
        log_.push_back("category change " + category);
        format_->Items()->Clear();
        for (const std::string& f : kFormats.at(category)) {
            TbsSkinOfficeItem* item = format_->Items()->Add();
            item->SetTitle(f);
            item->SetCaption(f + " 格式");
        }
        format_->SetItemIndex(0);
    }
    // As the program's format handler: each preset list for the format and its default.
    void FormatChanged() {
        std::string format = TitleOf(format_);
        log_.push_back("format change " + format);
        for (size_t i = 0; i < kPresets.size(); ++i) {
            presets_[i]->Items()->Clear();
            presets_[i]->Items()->Add("原样");
            presets_[i]->Items()->Add(format + " " + std::to_string(i));
            presets_[i]->SetItemIndex(format == "AVI" ? 1 : 0);
        }
    }
    SkinWalkForm* form_ = nullptr;
    TbsSkinOfficeComboBox *category_ = nullptr, *format_ = nullptr;
    std::array<TbsSkinComboBox*, 6> presets_{};
    Events log_;
};

} // namespace

TEST_F(PickerSequenceTest, StartUpThenARowRestoresItsChoices) {
    // Start-up: category 0.
    category_->SetItemIndex(0);
    Events start = {"category click", "category change 视频", "format click", "format change MP4"};
    for (const std::string& p : kPresets) start.push_back(p + " change 原样");
    EXPECT_EQ(log_, start);

    // A row of category 0, format 1 (AVI), presets 0 1 0 1 0 1.
    log_.clear();
    category_->SetItemIndex(0);
    format_->SetItemIndex(1);
    const int positions[] = {0, 1, 0, 1, 0, 1};
    for (size_t i = 0; i < kPresets.size(); ++i) presets_[i]->SetItemIndex(positions[i]);
    // The category fires although it did not change, so the format list is rebuilt and its
    // first format runs the format handler once; the presets then keep their texts (no
    // events).  The row's format fills the presets with its defaults; restoring the row's
    // positions fires only where the text changes.
    Events row = {"category click",    "category change 视频", "format click",
                  "format change MP4", "format click",         "format change AVI"};
    for (size_t i = 0; i < kPresets.size(); ++i)
        row.push_back(kPresets[i] + " change AVI " + std::to_string(i));
    for (size_t i = 0; i < kPresets.size(); i += 2) row.push_back(kPresets[i] + " change 原样");
    EXPECT_EQ(log_, row);
    EXPECT_EQ(TitleOf(format_), "AVI");
    EXPECT_EQ(presets_[1]->Text(), "AVI 1");
    EXPECT_EQ(presets_[2]->Text(), "原样");

    // Another category: its formats replace the list, its first format chosen.
    log_.clear();
    category_->SetItemIndex(1);
    Events audio = {"category click", "category change 音频", "format click", "format change MP3"};
    for (size_t i = 1; i < kPresets.size(); i += 2) audio.push_back(kPresets[i] + " change 原样");
    EXPECT_EQ(log_, audio);
    EXPECT_EQ(format_->Items()->Count(), 1);
}

TEST_F(PickerSequenceTest, WhileTheFormLoadsOnlyTextChangesReport) {
    category_->BeginLoading();
    format_->BeginLoading();
    presets_[0]->BeginLoading();
    format_->Items()->Add()->SetTitle("MP4");
    presets_[0]->Items()->Add("原样");
    category_->SetItemIndex(0);
    format_->SetItemIndex(0);
    presets_[0]->SetItemIndex(0);
    presets_[0]->SetItemIndex(0);
    category_->EndLoading();
    format_->EndLoading();
    presets_[0]->EndLoading();
    EXPECT_EQ(log_, Events{"分辨率 change 原样"});
    EXPECT_EQ(category_->ItemIndex(), 0);
    EXPECT_EQ(format_->ItemIndex(), 0);
}

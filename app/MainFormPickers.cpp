// The format and preset pickers of the main window, the catalogue and the preset override
// over the current parameter set, and restoring the pickers from a selected row.
#include "app/FileList.h"
#include "app/FormatPicker.h"
#include "app/MainForm.h"
#include "app/OptionsForm.h"
#include "app/PresetPickers.h"
#include "app/PreviewPanel.h"
#include "catalogue/Categories.h"
#include "catalogue/EncodingParameters.h"
#include "catalogue/Formats.h"
#include "catalogue/OutputFileName.h"
#include "catalogue/PresetEntries.h"
#include "catalogue/PresetText.h"
#include "gui/CustomListView.h"
#include "os/Convert.h"
#include "os/Paths.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinEdit.h"

#include <stdexcept>

namespace app {

using catalogue::TPresetPicker;

namespace {

constexpr int SubItemOutputFile = 2;
constexpr int SubItemFormatCode = 8;
constexpr int SubItemPresetIndices = 9;

int SubItemOf(TPresetPicker p) {
    switch (p) {
    case TPresetPicker::FrameSize:
        return 15;
    case TPresetPicker::VideoBitrate:
        return 16;
    case TPresetPicker::FrameRate:
        return 17;
    case TPresetPicker::AudioBitrate:
        return 18;
    case TPresetPicker::SampleRate:
        return 19;
    case TPresetPicker::Aspect:
        return 20;
    }
    return 15;
}

void SetSubItem(gui::TListItem* row, int index, const std::string& text) {
    gui::TStrings* sub = row->SubItems();
    while (sub->Count() <= index) sub->Add("");
    sub->SetStrings(index, text);
}

std::string SubItem(gui::TListItem* row, int index) {
    gui::TStrings* sub = row->SubItems();
    return index < sub->Count() ? sub->Strings(index) : std::string();
}

} // namespace

int TForm1::CategoryPosition() const {
    return bsSkinOfficeComboBox2->ItemIndex();
}

int TForm1::FormatPosition() const {
    return bsSkinOfficeComboBox1->ItemIndex();
}

skin::TbsSkinComboBox* TForm1::PresetPicker(TPresetPicker APicker) const {
    return PresetPickerOf(PresetPickerFields(), APicker);
}

TPresetPickerFields TForm1::PresetPickerFields() const {
    return {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3,
            bsSkinComboBox4, bsSkinComboBox9, bsSkinComboBox10};
}

void TForm1::Button2Click() {
    bsSkinOfficeComboBox1->ClearItems();
    auto formats = catalogue::FormatsOfCategory(CategoryPosition());
    for (size_t i = 0; i < formats.size(); ++i)
        bsSkinOfficeComboBox1->AddItem(formats[i].Title, formats[i].Caption,
                                       catalogue::FormatImageIndex(static_cast<int>(i)));
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm1::Button6Click() {
    Parameters = catalogue::TParameterSet{};
}

void TForm1::Button5Click() {
    Button6Click();
    int key = catalogue::FormatKey(CategoryPosition(), FormatPosition());
    All_Trant_Number = key + 100;
    Parameters.Video_DisableVideo = false;
    if (auto set = catalogue::ParameterSetOf(key)) {
        Parameters = *set;
        bool overwrite = OptionsForm && OptionsForm->OverwriteChecked();
        Parameters.Video_OutPutFileName =
            catalogue::OutputFileName(Video_OutPut_Folder_Edit->Text(), Video_AddFileName, key, overwrite,
                                      [](const std::string& p) { return os::FileExists(p); });
    }
    if (gui::TListItem* row = lvFiles->Selected()) {
        catalogue::TParameterSubItems values = catalogue::ParameterSubItems(Parameters);
        for (size_t i = 0; i < values.size(); ++i)
            SetSubItem(row, catalogue::FirstParameterSubItem + static_cast<int>(i), values[i]);
    }
}

void TForm1::Button13Click() {
    Parameters =
        catalogue::WithPresets(Parameters, [this](TPresetPicker p) { return PresetPicker(p)->Text(); });
}

void TForm1::Button18Click() {
    // A category outside the table has no family and so no entry: the pickers stay empty.
    int key = catalogue::FormatKey(CategoryPosition(), FormatPosition());
    RefillPresetPickers(PresetPickerFields(), key < 0 ? nullptr : catalogue::FindPresetEntry(key));
}

void TForm1::bsSkinOfficeComboBox2Change(gui::TObject*) {
    Button2Click();
}

void TForm1::bsSkinOfficeComboBox1Change(gui::TObject*) {
    Button18Click();
    int format = FormatPosition();
    if (format >= 0 && format < bsSkinOfficeComboBox1->Count())
        TitleExtension = catalogue::TitleExtension(bsSkinOfficeComboBox1->Title(format));
    gui::TListItem* row = lvFiles->Selected();
    if (!row) return;
    Button5Click();
    Button13Click();
    std::string name = os::ExtractFileName(SubItem(row, SubItemOutputFile));
    SetSubItem(row, SubItemOutputFile, os::ChangeFileExt(name, TitleExtension));
    SetSubItem(row, SubItemFormatCode, std::to_string(catalogue::FormatCode(CategoryPosition(), format)));
    FileList->SelectedRowFormatChanged();
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::PresetChange(gui::TObject* Sender) {
    gui::TListItem* row = lvFiles->Selected();
    if (!row) return;
    TPresetPicker picker = TPresetPicker::FrameSize;
    for (TPresetPicker p : catalogue::FieldOrder)
        if (PresetPicker(p) == Sender) picker = p;
    skin::TbsSkinComboBox* box = PresetPicker(picker);
    std::string indices = SubItem(row, SubItemPresetIndices);
    catalogue::SetPresetIndex(indices, picker, box->ItemIndex());
    SetSubItem(row, SubItemPresetIndices, indices);

    const std::string& text = box->Text();
    catalogue::TParameterSet& s = Parameters;
    std::string value;
    switch (picker) {
    case TPresetPicker::FrameSize:
        value = s.Video_FrameSize = catalogue::PresetFrameSize(text);
        break;
    case TPresetPicker::FrameRate:
        value = s.Video_FrameRate = catalogue::PresetFrameRate(text);
        break;
    case TPresetPicker::VideoBitrate:
        s.Video_VideoBitrate = catalogue::PresetVideoBitrate(text);
        value = std::to_string(s.Video_VideoBitrate);
        break;
    case TPresetPicker::AudioBitrate:
        s.Video_AudioBitrate = catalogue::PresetAudioBitrate(text);
        value = std::to_string(s.Video_AudioBitrate);
        break;
    case TPresetPicker::SampleRate:
        value = s.Video_AudioSampleRate =
            catalogue::PresetSampleRate(text, catalogue::TSampleRateUse::PickerChange);
        break;
    case TPresetPicker::Aspect:
        value = s.Video_FrameAspectRatio = catalogue::PresetAspect(text, s.Video_FrameAspectRatio);
        break;
    }
    SetSubItem(row, SubItemOf(picker), value);
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::lvFilesSelectItem(gui::TObject*, gui::TListItem*, bool) {
    // A row that cannot be read back (none at the index, a code that is not a number) leaves
    // the pickers as far as they got.
    try {
        int index = lvFiles->ItemIndex();
        if (index < 0 || index >= lvFiles->Items()->Count()) return;
        gui::TListItem* row = lvFiles->Items()->Item(index);
        int code = os::StrToInt(SubItem(row, SubItemFormatCode));
        auto positions = catalogue::ReadPresetIndices(SubItem(row, SubItemPresetIndices));
        if (!positions) return;
        catalogue::TFormatPlace place = catalogue::DecodeFormatCode(code);
        bsSkinOfficeComboBox2->SetItemIndex(place.Category);
        bsSkinOfficeComboBox1->SetItemIndex(place.Position);
        for (int i = 0; i < catalogue::PresetPickerCount; ++i)
            PresetPicker(catalogue::FieldOrder[i])->SetItemIndex((*positions)[static_cast<size_t>(i)]);
        Preview->OpenFile(row->Caption());
    } catch (const std::exception&) {
    }
}

} // namespace app

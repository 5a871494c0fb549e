#include "skin/controls/LabelSkinFont.h"

#include "skin/core/DataSkinControls.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"

namespace skin {

int TbsLabelSkinFont::Read(const TbsSkinData* SD, const std::string& EntryName) {
    const int index = (!SD || SD->Empty) ? -1 : SD->GetControlIndex(EntryName);
    if (index == -1) return -1;
    auto* d = dynamic_cast<TbsDataSkinStdLabelControl*>(SD->CtrlList[static_cast<size_t>(index)].get());
    if (!d) return -1;
    FontName = d->FontName;
    FontColor = d->FontColor;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    ActiveFontColor = d->ActiveFontColor;
    return index;
}

void TbsLabelSkinFont::Apply(gui::TFont* Canvas, bool Skinned, bool UseSkinFont, const gui::TFont* Default,
                             const gui::TFont* Own, const TbsSkinData* SD) const {
    if (!Skinned) {
        Canvas->Assign(UseSkinFont ? Default : Own);
    } else {
        Canvas->Assign(Own);
        if (UseSkinFont) {
            Canvas->SetName(FontName);
            Canvas->SetStyle(FontStyle);
            Canvas->SetHeight(FontHeight);
        }
    }
    if (SD && SD->ResourceStrData())
        Canvas->SetCharset(static_cast<uint8_t>(SD->ResourceStrData()->CharSet));
    else
        Canvas->SetCharset(Default->Charset());
}

void DrawEngravedText(gui::TCanvas* C, RECT& R, const TbsSkinData* Skin, const std::function<void()>& Draw) {
    OffsetRect(&R, 1, 1);
    C->Font()->SetColor(Skin ? Skin->SkinColors().cBtnHighLight() : gui::clBtnHighlight);
    Draw();
    OffsetRect(&R, -1, -1);
    C->Font()->SetColor(Skin ? Skin->SkinColors().cBtnShadow() : gui::clBtnShadow);
    Draw();
}

} // namespace skin

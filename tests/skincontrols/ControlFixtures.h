#pragma once
// Fixtures of the skinned-control tests: a form that walks its controls on a skin change (as
// the skinned form will), a small skin made by hand whose every pixel differs, and the
// program's stored skins.
#include "../gui/GuiHarness.h"
#include "../skin/EngineFixtures.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinForms.h"
#include "skin/engine/SkinChangeWalk.h"
#include "skins/StoredSkins.h"

#include <memory>
#include <string>
#include <vector>

namespace controltest {

class SkinWalkForm : public gui::TForm {
public:
    using gui::TForm::TForm;

protected:
    void Dispatch(gui::TMessage& m) override {
        auto* sender = reinterpret_cast<skin::TbsSkinData*>(m.WParam);
        if (m.Msg == skin::WM_BEFORECHANGESKINDATA) skin::WalkBeforeChangeSkinData(this, sender);
        if (m.Msg == skin::WM_CHANGESKINDATA) skin::WalkChangeSkinData(this, sender);
        gui::TForm::Dispatch(m);
    }
};

// The application's forms as the skin data's broadcast reaches them, until the skinned
// forms install theirs.
class ScreenForms : public skin::TbsSkinForms {
public:
    ScreenForms() : previous_(skin::SetSkinForms(this)) {}
    ~ScreenForms() override { skin::SetSkinForms(previous_); }
    int FormCount() const override { return gui::Screen->FormCount(); }
    skin::TbsSkinMessageForm* Forms(int index) const override {
        adapters_.resize(static_cast<size_t>(FormCount()));
        adapters_[static_cast<size_t>(index)].form = gui::Screen->Forms(index);
        return &adapters_[static_cast<size_t>(index)];
    }
    skin::TbsSkinMessageForm* FormOf(os::TComponent*) const override { return nullptr; }

private:
    struct Adapter : skin::TbsSkinMessageForm {
        gui::TCustomForm* form = nullptr;
        std::string FormClassName() const override { return form->ClassName(); }
        void SendSkinMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
            SendMessage(form->Handle(), msg, wParam, lParam);
        }
    };
    skin::TbsSkinForms* previous_;
    mutable std::vector<Adapter> adapters_;
};

// A skin whose picture 0 is `picture` and whose descriptors the test adds.
inline void UsePicture(skin::TbsSkinData& data, const gdi::image::Image& picture) {
    auto p = std::make_unique<skin::TbsPicture>();
    p->Assign(picture);
    data.FActivePictures.push_back(std::move(p));
    data.Empty = false;
}

template <class D> D& AddControl(skin::TbsSkinData& data, const std::string& name) {
    auto d = std::make_unique<D>(name);
    D& r = *d;
    data.CtrlList.push_back(std::move(d));
    return r;
}

inline skin::TbsCompressedSkinList& StoredSkins() {
    static skin::TbsCompressedSkinList list;
    static bool loaded = (skins::LoadStoredSkins(list), true);
    (void)loaded;
    return list;
}

// The picture pixel as the window shows it (COLORREF).
inline COLORREF Shown(uint32_t bgra) {
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

inline COLORREF PictureAt(skin::TbsSkinData& data, int index, int x, int y) {
    return Shown(data.FActivePictures[static_cast<size_t>(index)]->Image().At(x, y));
}

} // namespace controltest

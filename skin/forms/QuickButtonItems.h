#pragma once
// Quick buttons: small image buttons at the start of a skinned form's caption, drawn and
// tracked by the caption text object.
#include "gui/Collection.h"
#include "gui/Controls.h"
#include "skin/core/SkinTypes.h"

#include <string>

namespace skin {

class TbsSkinForm;

class TbsQuickButtonItem : public gui::TCollectionItem {
public:
    explicit TbsQuickButtonItem(gui::TCollection* collection);
    std::string ClassName() const override { return "TbsQuickButtonItem"; }
    // Copies the image, hint and states; the handler stays.
    void Assign(const gui::TPersistent* source) override;

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    std::string Hint;
    gui::TNotifyEvent OnClick;

    TRect ItemRect; // where it was last drawn, in the form window's coordinates
    bool Active = false, Down = false;

private:
    int imageIndex_ = -1;
    bool enabled_ = true, visible_ = true;
};

class TbsQuickButtonItems : public gui::TCollection {
public:
    explicit TbsQuickButtonItems(TbsSkinForm* AForm);
    std::string ClassName() const override { return "TbsQuickButtonItems"; }
    TbsQuickButtonItem* Items(int index) const {
        return static_cast<TbsQuickButtonItem*>(gui::TCollection::Items(index));
    }
    TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(gui::TCollection::Add()); }
    TbsSkinForm* BSF;

protected:
    // A change shows on the frame at once.
    void Update(gui::TCollectionItem* item) override;
};

} // namespace skin

#include "skin/forms/QuickButtonItems.h"

#include "skin/forms/SkinForm.h"
#include "win/Message.h"

namespace skin {

TbsQuickButtonItem::TbsQuickButtonItem(gui::TCollection* collection) : gui::TCollectionItem(collection) {}

void TbsQuickButtonItem::Assign(const gui::TPersistent* source) {
    if (auto* q = dynamic_cast<const TbsQuickButtonItem*>(source)) {
        imageIndex_ = q->imageIndex_;
        Hint = q->Hint;
        enabled_ = q->enabled_;
        visible_ = q->visible_;
        Changed(false);
        return;
    }
    gui::TCollectionItem::Assign(source);
}

void TbsQuickButtonItem::SetImageIndex(int value) {
    imageIndex_ = value;
    Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool value) {
    enabled_ = value;
    Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool value) {
    visible_ = value;
    Changed(false);
}

TbsQuickButtonItems::TbsQuickButtonItems(TbsSkinForm* AForm)
    : gui::TCollection(gui::TCollection::ItemClass<TbsQuickButtonItem>, AForm), BSF(AForm) {}

void TbsQuickButtonItems::Update(gui::TCollectionItem* item) {
    if (!BSF || BSF->Loading() || BSF->Designing()) return;
    // An item joins the collection while it is still being made: the frame that draws it
    // is painted once the message queue comes round.
    if (item)
        BSF->RepaintFrame();
    else if (HWND w = BSF->Form()->HandleAllocated() ? BSF->Form()->Handle() : nullptr)
        PostMessage(w, WM_NCPAINT, 1, 0);
}

} // namespace skin

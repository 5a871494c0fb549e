#pragma once
// Menus as data: items with their captions, shortcuts, check marks and events, the menus that
// hold them, and how a key finds its item.  Drawing and showing belong to the skinned menus,
// which read these objects (and override TPopupMenu::Popup).
#include "gdi/GdiTypes.h"
#include "gui/Classes.h"
#include "gui/Fwd.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace gui {

// Owner drawing of an item: the canvas and rectangle of the menu window that shows it.
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;

class EMenuError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    // Frees the items below it and leaves its parent.
    ~TMenuItem() override;
    std::string ClassName() const override { return "TMenuItem"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; } // a separator
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    // Checking a radio item unchecks the radio items of its group among its siblings.
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radioItem);
    uint8_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(uint8_t groupIndex);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int imageIndex);
    // One default (bold) item among siblings: setting it clears the others.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // Unique among all live items; what a menu window reports when an item is chosen.
    uint16_t Command() const { return command_; }

    // The item's picture, made on first use (an empty bitmap means none).
    TBitmap* Bitmap();
    bool HasBitmap() const;
    void SetBitmap(const TBitmap* bitmap);
    TMenuDrawItemEvent OnDrawItem;

    std::string Hint;
    bool AutoCheck = false; // Click toggles Checked (a checked radio item stays checked)
    TNotifyEvent OnClick;

    // Does nothing while disabled.
    virtual void Click();

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    void SetMenuIndex(int index);
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    // EMenuError for an item that already has a parent (or would contain itself) and for an
    // index outside 0..Count.
    void Insert(int index, TMenuItem* item);
    // Delete and Remove take an item out without freeing it; Clear frees every item below.
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear();
    TMenu* GetParentMenu() const;
    // Hides the separators among the children that would show at the top, at the bottom or
    // next to another one, and shows the others again; true when any changed.
    bool RethinkLines();

protected:
    virtual void MenuChanged(bool rebuild);

private:
    friend class TMenu;
    template <class T> void Change(T& field, const T& value, bool rebuild);
    void TurnSiblingsOff();
    std::string caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false, radioItem_ = false, enabled_ = true, visible_ = true, default_ = false;
    uint8_t groupIndex_ = 0;
    int imageIndex_ = -1;
    uint16_t command_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on a menu's root item only
    std::vector<TMenuItem*> items_;
    std::unique_ptr<TBitmap> bitmap_;
};

} // namespace gui

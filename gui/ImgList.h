#pragma once
// Image lists: equally sized pictures drawn by index (menus, tool bars, list views, hints).
#include "gdi/ImageList.h"
#include "gui/Classes.h"
#include "gui/Color.h"
#include "gui/Fwd.h"

namespace gui {

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    std::string ClassName() const override { return "TCustomImageList"; }

    // Changing the size empties the list.
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    int Count() const;
    HIMAGELIST Handle() const { return list_; }
    TColor BkColor() const;
    void SetBkColor(TColor color);

    // A picture wider than the images adds one image per image width; answers the first
    // index, or -1.
    int Add(TBitmap* image, TBitmap* mask);
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void Delete(int index);
    void Clear();
    // A disabled image is drawn greyed.  An index outside the list draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // Copies an image into the bitmap (sized to the images) or the icon.
    bool GetBitmap(int index, TBitmap* image);
    bool GetIcon(int index, TIcon* icon);

    TNotifyEvent OnChange;

protected:
    void Change();

private:
    void Make();
    int width_ = 16, height_ = 16;
    HIMAGELIST list_ = nullptr;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    std::string ClassName() const override { return "TImageList"; }
};

} // namespace gui

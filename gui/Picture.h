#pragma once
// Pictures from files: TPicture picks the graphic class by the file's extension.
#include "gui/FileImage.h"
#include "gui/Graphic.h"

#include <memory>
#include <string>

namespace gui {

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    std::string ClassName() const override { return "TPicture"; }
    void Assign(const TPersistent* source) override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // A copy of the graphic (null clears the picture).
    void SetGraphic(const TGraphic* graphic);
    // The picture as a bitmap; a picture of another kind is replaced by a bitmap copy.
    TBitmap* Bitmap();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // By extension: .bmp, .jpg/.jpeg, .png, .gif, .ico; EInvalidGraphic for any other
    // ("Unknown picture file extension (.xyz)") and for unreadable content.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    TNotifyEvent OnChange;

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    std::unique_ptr<TGraphic> graphic_;
};

} // namespace gui

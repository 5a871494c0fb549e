#pragma once
// Builds one skin from its description: runs every section of the section table, each of
// which draws its pictures and fills its descriptors, and collects them in a skin data
// component that writes the skin folder (the ini text and its BMP files).
#include "SkinStyle.h"

#include "gdi/image/Image.h"
#include "skin/core/SkinData.h"

#include <memory>
#include <string>

namespace skingen {

class SkinBuilder {
public:
    SkinBuilder(const SkinStyle& style, skin::TbsSkinData& data);

    const SkinStyle& Style() const { return style_; }
    skin::TbsSkinData& Data() { return data_; }

    // A picture filled with `fill`, opaque.
    static gdi::image::Image NewImage(int width, int height, const Rgb& fill);
    // Appends an indexed picture under its file name; returns its picture index.
    int AddPicture(const std::string& fileName, const gdi::image::Image& image);

    template <class D> D& AddControl(const std::string& name) {
        auto d = std::make_unique<D>(name);
        D& r = *d;
        data_.CtrlList.push_back(std::move(d));
        return r;
    }
    template <class D> D& AddObject(const std::string& name) {
        auto d = std::make_unique<D>(name);
        D& r = *d;
        data_.ObjectList.push_back(std::move(d));
        return r;
    }

    // Every section, then the skin-wide values.  std::runtime_error when a drawn colour
    // breaks a contrast rule of the skins.
    void Build();

private:
    void CheckContrast() const;

    const SkinStyle& style_;
    skin::TbsSkinData& data_;
};

} // namespace skingen

#include "SkinBuilder.h"

#include "SkinSections.h"
#include "skin/core/SkinPicture.h"

#include <stdexcept>

namespace skingen {

SkinBuilder::SkinBuilder(const SkinStyle& style, skin::TbsSkinData& data) : style_(style), data_(data) {}

gdi::image::Image SkinBuilder::NewImage(int width, int height, const Rgb& fill) {
    gdi::image::Image image;
    image.Reset(width, height, fill.Bgra());
    return image;
}

int SkinBuilder::AddPicture(const std::string& fileName, const gdi::image::Image& image) {
    auto picture = std::make_unique<skin::TbsPicture>();
    picture->Assign(image);
    data_.FActivePictures.push_back(std::move(picture));
    data_.FActivePicturesNames.Add(fileName);
    return static_cast<int>(data_.FActivePictures.size()) - 1;
}

void SkinBuilder::Build() {
    CheckContrast();
    data_.SkinName = style_.name;
    data_.SkinAuthor = "Tarvik";
    data_.SkinComments = "Drawn by the Tarvik skin generator";
    auto& c = data_.SkinColors();
    c.SetcBtnFace(style_.background.Color());
    c.SetcBtnText(style_.text.Color());
    c.SetcWindow(style_.Window().Color());
    c.SetcWindowText(style_.text.Color());
    // Selected rows of the plain lists and views: the skin's selection tint, text unchanged.
    c.SetcHighLight(style_.Selection(style_.Window()).Color());
    c.SetcHighLightText(style_.text.Color());
    c.SetcBtnHighLight((style_.Dark() ? style_.Face().Lighten(0.08) : Rgb{1, 1, 1}).Color());
    c.SetcBtnShadow(style_.Border().Color());
    for (auto& section : SkinSections()) section.build(*this);
    data_.Empty = false;
}

void SkinBuilder::CheckContrast() const {
    const SkinStyle& s = style_;
    struct Rule {
        const char* what;
        Rgb a, b;
        double least;
    } rules[] = {
        {"text on the background",             s.text,             s.background,        4.5},
        {"text on the window colour",          s.text,             s.Window(),          4.5},
        {"text on a button",                   s.text,             s.Face(),            4.5},
        {"text on a hot button",               s.text,             s.Hover(s.Face()),   4.5},
        {"text on a pressed button",           s.text,             s.Pressed(s.Face()), 4.5},
        {"disabled text on the background",    s.Disabled(s.text), s.background,        2.5},
        {"caption text on the caption top",    s.captionText,      s.captionTop,        4.5},
        {"caption text on the caption bottom", s.captionText,      s.captionBottom,     4.5},
        {"the focus ring on the background",   s.accent,           s.background,        3.0},
        {"the focus ring on a button",         s.accent,           s.Face(),            3.0},
        {"control outlines on the background", s.Border(),         s.background,        3.0},
        {"marks on the accent colour",         s.OnAccent(),       s.accent,            3.0},
    };
    for (auto& r : rules) {
        double c = Rgb::Contrast(r.a, r.b);
        if (c < r.least)
            throw std::runtime_error(s.name + ": " + r.what + " has a contrast of " + std::to_string(c) +
                                     " (" + r.a.Hex() + " on " + r.b.Hex() + "), below " +
                                     std::to_string(r.least));
    }
}

} // namespace skingen

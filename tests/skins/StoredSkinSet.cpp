#include "StoredSkinSet.h"

#include "skins/StoredSkins.h"

#include <algorithm>
#include <cmath>

namespace skintest {

StoredSkinSet& StoredSkins() {
    static StoredSkinSet* loaded = [] {
        auto* l = new StoredSkinSet;
        skins::LoadStoredSkins(l->list);
        for (int i = 0; i < l->list.Skins().Count(); ++i) {
            auto data = std::make_unique<skin::TbsSkinData>();
            data->LoadCompressedStoredSkin(&l->list.Skins()[i].Skin());
            l->skins.push_back(std::move(data));
        }
        return l;
    }();
    return *loaded;
}

const skin::TbsPicture* Indexed(const skin::TbsSkinData& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.FActivePictures.size())) return nullptr;
    return d.FActivePictures[static_cast<size_t>(index)].get();
}

namespace {

double Linear(uint32_t channel) {
    double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t p) {
    return 0.2126 * Linear((p >> 16) & 255) + 0.7152 * Linear((p >> 8) & 255) + 0.0722 * Linear(p & 255);
}

} // namespace

double Contrast(uint32_t a, uint32_t b) {
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

uint32_t PixelOf(skin::TColor colour) {
    auto v = static_cast<uint32_t>(colour);
    return 0xFF000000u | ((v & 255) << 16) | (v & 0xFF00) | ((v >> 16) & 255);
}

} // namespace skintest

#include "ContactSheet.h"

#include "gdi/image/Png.h"
#include "gui/Graphics.h"

#include <algorithm>
#include <fstream>

namespace skingallery {

namespace {

constexpr int kMargin = 16, kLabel = 22, kTitle = 40;
constexpr uint32_t kDesktop = 0xFF8A8F96u; // a grey none of the skins uses

// Text in the program's font, dark on the desktop grey, blended by its coverage.
void Text(gdi::image::Image& image, int x, int y, const std::string& text, int height) {
    gui::TBitmap bitmap;
    bitmap.SetSize(std::min(900, image.width - x), height + 8);
    gui::TCanvas& c = *bitmap.Canvas();
    c.Brush()->SetColor(0xFFFFFF);
    c.FillRect(gui::Rect(0, 0, bitmap.Width(), bitmap.Height()));
    c.Brush()->SetStyle(gui::bsClear);
    c.Font()->SetName("微软雅黑");
    c.Font()->SetHeight(-height);
    c.Font()->SetColor(0);
    c.TextOut(0, 2, text);
    for (int yy = 0; yy < bitmap.Height() && y + yy < image.height; ++yy)
        for (int xx = 0; xx < bitmap.Width(); ++xx) {
            uint32_t a = 255 - (static_cast<uint32_t>(c.Pixels(xx, yy)) & 255);
            uint32_t& p = image.At(x + xx, y + yy);
            uint32_t out = 0xFF000000u;
            for (int k = 0; k < 3; ++k) {
                uint32_t under = (p >> (8 * k)) & 255, ink = 0x14;
                out |= ((under * (255 - a) + ink * a + 127) / 255) << (8 * k);
            }
            p = out;
        }
}

} // namespace

void ContactSheet::Add(const std::string& label, gdi::image::Image picture) {
    rows_.back().push_back({label, std::move(picture)});
}

void ContactSheet::NextRow() {
    rows_.emplace_back();
}

gdi::image::Image ContactSheet::Compose() const {
    int width = 0, height = kTitle;
    for (auto& row : rows_) {
        int w = kMargin, h = 0;
        for (auto& p : row) {
            w += p.picture.width + kMargin;
            h = std::max(h, p.picture.height);
        }
        width = std::max(width, w);
        if (!row.empty()) height += kLabel + h + kMargin;
    }
    gdi::image::Image sheet;
    sheet.Reset(std::max(width, 400), height, kDesktop);
    Text(sheet, kMargin, 8, title_, 20);
    int y = kTitle;
    for (auto& row : rows_) {
        if (row.empty()) continue;
        int x = kMargin, h = 0;
        for (auto& p : row) {
            Text(sheet, x, y, p.label, 13);
            for (int py = 0; py < p.picture.height; ++py)
                for (int px = 0; px < p.picture.width; ++px) {
                    uint32_t v = p.picture.At(px, py);
                    if (v >> 24) sheet.At(x + px, y + kLabel + py) = v;
                }
            x += p.picture.width + kMargin;
            h = std::max(h, p.picture.height);
        }
        y += kLabel + h + kMargin;
    }
    return sheet;
}

bool ContactSheet::Save(const std::string& fileName, std::string& error) const {
    std::vector<uint8_t> png;
    if (!gdi::image::WritePng(Compose(), png, error)) return false;
    std::ofstream out(fileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out.flush()) {
        error = "cannot write " + fileName;
        return false;
    }
    return true;
}

} // namespace skingallery

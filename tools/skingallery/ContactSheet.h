#pragma once
// One skin's contact sheet: the window pictures laid out in rows on a neutral desktop grey,
// each under a small label, with the skin's name across the top.
#include "gdi/image/Image.h"

#include <string>
#include <vector>

namespace skingallery {

class ContactSheet {
public:
    explicit ContactSheet(std::string title) : title_(std::move(title)) {}

    // The next picture goes to the right of the last one in the current row.
    void Add(const std::string& label, gdi::image::Image picture);
    void NextRow();

    gdi::image::Image Compose() const;
    // Writes Compose() as a PNG file; false with the reason.
    bool Save(const std::string& fileName, std::string& error) const;

private:
    struct Piece {
        std::string label;
        gdi::image::Image picture;
    };
    std::string title_;
    std::vector<std::vector<Piece>> rows_{1};
};

} // namespace skingallery

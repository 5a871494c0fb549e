// Makes the program's own resources at build time:
//   resgen glyph <glyph.txt> <out.bmp>   a glyph written as text, as an indexed bitmap
//   resgen icon <size> <out.png>         the program icon at one size
//   resgen chime <out.wav>               the completion sound
#include "Chime.h"
#include "GlyphText.h"
#include "IconPainter.h"

#include "gdi/image/ImageFile.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Usage() {
    std::fprintf(stderr,
                 "usage: resgen glyph <glyph.txt> <out.bmp> | icon <size> <out.png> | chime <out.wav>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string what = argv[1];
    try {
        if (what == "glyph" && argc == 4) {
            try {
                WriteFile(argv[3], resgen::GlyphText::Parse(ReadFile(argv[2])).ToBmp());
            } catch (const std::runtime_error& e) {
                throw std::runtime_error(std::string(argv[2]) + ": " + e.what());
            }
        } else if (what == "icon" && argc == 4) {
            int size = std::stoi(argv[2]);
            if (size < 8 || size > 512) throw std::runtime_error("an icon size lies between 8 and 512");
            std::vector<uint8_t> png;
            std::string error;
            if (!gdi::image::EncodeImage(resgen::IconPainter::Paint(size), gdi::image::ImageFormat::Png, {},
                                         png, error))
                throw std::runtime_error(error);
            WriteFile(argv[3], png);
        } else if (what == "chime" && argc == 3) {
            WriteFile(argv[2], resgen::Chime::ToWav());
        } else {
            return Usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "resgen: %s\n", e.what());
        return 1;
    }
    return 0;
}

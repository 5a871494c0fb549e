#include "TestImages.h"

#include "gdi/image/Bmp.h"
#include "gdi/image/Gif.h"
#include "gdi/image/ImageFile.h"
#include "gdi/image/Jpeg.h"
#include "gdi/image/Png.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gdi::image;
using namespace testimages;

TEST(ImageRoundTrip, EveryFormatGivesThePictureBack) {
    const ImageSaveOptions bmp32{32, 90, false}, jpeg95{24, 95, false}, plain{24, 90, false},
        dither{24, 90, true};
    // The photo has 37 × 23 different colours: a GIF quantises it to 256.
    const Image photo = Photo(), faded = PhotoWithAlpha(), flat = FewColours(),
                holed = FewColours(40, 30, true);
    struct Case {
        const char* name;
        const Image& image;
        ImageFormat format;
        ImageSaveOptions options;
        bool alpha;  // compare alpha too
        int maxDiff; // per channel
        double meanDiff;
    } cases[] = {
        {"bmp24",         photo, ImageFormat::Bmp,  plain,  false, 0,  0  },
        {"bmp32",         faded, ImageFormat::Bmp,  bmp32,  true,  0,  0  },
        {"png",           photo, ImageFormat::Png,  plain,  true,  0,  0  },
        {"png+alpha",     faded, ImageFormat::Png,  plain,  true,  0,  0  },
        {"jpeg q95",      photo, ImageFormat::Jpeg, jpeg95, false, 60, 3.0},
        {"gif exact",     flat,  ImageFormat::Gif,  plain,  true,  0,  0  },
        {"gif+hole",      holed, ImageFormat::Gif,  plain,  true,  0,  0  },
        {"gif quantised", photo, ImageFormat::Gif,  plain,  false, 40, 4.0},
        {"gif dithered",  photo, ImageFormat::Gif,  dither, false, 60, 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(EncodeImage(c.image, c.format, c.options, bytes, error)) << error;
        EXPECT_EQ(DetectImageFormat(bytes), c.format);
        Image back;
        ASSERT_TRUE(ReadImage(bytes, back, error)) << error;
        ASSERT_EQ(back.width, c.image.width);
        ASSERT_EQ(back.height, c.image.height);
        EXPECT_EQ(back.hasAlpha, c.alpha && c.image.hasAlpha);
        Difference d = Compare(c.image, back, c.alpha);
        EXPECT_LE(d.max, c.maxDiff);
        EXPECT_LE(d.mean, c.meanDiff);
    }
}

TEST(ImageRoundTrip, JpegQualityTradesSizeForFidelity) {
    std::vector<uint8_t> low, high;
    std::string error;
    ASSERT_TRUE(WriteJpeg(Photo(64, 64), 20, low, error));
    ASSERT_TRUE(WriteJpeg(Photo(64, 64), 95, high, error));
    EXPECT_LT(low.size(), high.size());
    Image a, b;
    ASSERT_TRUE(ReadJpeg(low, a, error));
    ASSERT_TRUE(ReadJpeg(high, b, error));
    EXPECT_GT(Compare(Photo(64, 64), a).mean, Compare(Photo(64, 64), b).mean);
}

TEST(ImageRoundTrip, GifKeepsItsPaletteAndSmallPicturesUseSmallTables) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(WriteGif(FewColours(), {}, bytes, error));
    Image back;
    ASSERT_TRUE(ReadGif(bytes, back, error));
    EXPECT_EQ(back.palette.size(), 8u); // six colours in a table of eight
}

TEST(ImageRoundTrip, FilesAreTypedByContentAndSavedByName) {
    const auto dir = std::filesystem::temp_directory_path() / ("tarvik_image_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const Image photo = Photo();
    for (const char* name : {"a.BMP", "b.jpg", "c.jpeg", "d.png", "e.Gif"}) {
        SCOPED_TRACE(name);
        const std::string path = (dir / name).string();
        const ImageFormat format = FormatFromFileName(path);
        ASSERT_NE(format, ImageFormat::Unknown);
        std::string error;
        ASSERT_TRUE(SaveImageFile(path, photo, format, {}, error)) << error;
        Image back;
        ASSERT_TRUE(LoadImageFile(path, back, error)) << error;
        EXPECT_LT(Compare(photo, back).mean, 6.0);
    }
    EXPECT_EQ(FormatFromFileName("/x.y/snapshot"), ImageFormat::Unknown);
    Image none;
    std::string error;
    EXPECT_FALSE(LoadImageFile((dir / "missing.png").string(), none, error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);
    std::filesystem::remove_all(dir);
}

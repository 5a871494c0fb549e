// Stored skins: folder to stored skin to loaded skin, the version rules and damaged data.
#include "gui/StringStream.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinIniFile.h"
#include "skin/core/ZlibStreams.h"
#include "tests/gui/TempDir.h"
#include "tests/skin/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace skintest;

namespace {

std::string SkinText(TbsSkinData& data) {
    TbsSkinIniFile ini;
    data.WriteSkinIni(ini);
    return ini.Text();
}

void ExpectSameSkin(TbsSkinData& a, TbsSkinData& b) {
    EXPECT_EQ(SkinText(a), SkinText(b));
    EXPECT_TRUE(a.FPicture == b.FPicture);
    EXPECT_TRUE(a.FInActivePicture == b.FInActivePicture);
    EXPECT_TRUE(a.FMask == b.FMask);
    ASSERT_EQ(a.FActivePictures.size(), b.FActivePictures.size());
    for (size_t i = 0; i < a.FActivePictures.size(); ++i)
        EXPECT_TRUE(*a.FActivePictures[i] == *b.FActivePictures[i]) << i;
}

std::string Bytes(gui::TMemoryStream& s) {
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

const std::string kText =
    "[VERSION]\r\nskinname=v\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n"
    "count=1\r\n0=b:button\r\n[b]\r\npictureindex=1\r\n";

} // namespace

TEST(StoredSkin, FolderStoredAndLoadedGiveTheSameSkin) {
    TempDir dir;
    std::string ini = WriteSampleSkinFolder(dir.path.string());
    TbsSkinData fromFolder;
    ASSERT_TRUE(fromFolder.LoadFromFile(ini)) << fromFolder.LastError();
    EXPECT_EQ(fromFolder.SkinName, "Sample");
    EXPECT_EQ(fromFolder.FPicture.Width(), 60);
    EXPECT_TRUE(fromFolder.FInActivePicture.Empty());
    ASSERT_EQ(fromFolder.FActivePictures.size(), 2u);
    EXPECT_EQ(fromFolder.CtrlList.size(), 5u);
    EXPECT_EQ(fromFolder.ObjectList.size(), 8u);

    TbsCompressedStoredSkin packed;
    ASSERT_TRUE(packed.LoadFromIniFile(ini));
    packed.SaveToCompressFile(dir / "sample.skn");
    TbsSkinData fromStored;
    ASSERT_TRUE(fromStored.LoadFromCompressedFile(dir / "sample.skn")) << fromStored.LastError();
    ExpectSameSkin(fromFolder, fromStored);

    // The inner data ends exactly with the folder's text, in CR LF lines.
    gui::TMemoryStream inner;
    packed.DeCompressToStream(inner);
    std::string data = Bytes(inner);
    EXPECT_EQ(data.substr(0, 4), std::string("\3\0\0\0", 4));
    EXPECT_EQ(data.substr(data.size() - SampleSkinIni().size()), SampleSkinIni());

    // Written back from the loaded skin, through the skin data and through a folder.
    TbsCompressedStoredSkin fromData;
    fromData.LoadFromSkinData(fromStored);
    TbsSkinData again;
    ASSERT_TRUE(again.LoadCompressedStoredSkin(&fromData)) << again.LastError();
    ExpectSameSkin(fromFolder, again);
    std::filesystem::create_directory(dir.path / "copy");
    again.StoreToDisk(dir / "copy/skin.ini");
    TbsSkinData fromCopy;
    ASSERT_TRUE(fromCopy.LoadFromFile(dir / "copy/skin.ini")) << fromCopy.LastError();
    ExpectSameSkin(fromFolder, fromCopy);
}

TEST(StoredSkin, Versions) {
    auto frame = std::vector<gdi::image::Image>{
        Picture(4, 3, 1), {}, Picture(4, 3, 2), Picture(5, 5, 9), Picture(2, 2, 8)};
    auto pictures = std::vector<gdi::image::Image>{Picture(3, 3, 5), Picture(6, 2, 6)};
    TbsSkinData v3, v2;
    auto s3 = StoredSkin(OuterFromInner(InnerSkin(3, kText, {frame[0], frame[1], frame[2]}, pictures)));
    auto s2 = StoredSkin(OuterFromInner(InnerSkin(2, kText, frame, pictures)));
    ASSERT_TRUE(v3.LoadCompressedStoredSkin(s3.get())) << v3.LastError();
    ASSERT_TRUE(v2.LoadCompressedStoredSkin(s2.get())) << v2.LastError();
    ExpectSameSkin(v3, v2); // version 2's two extra pictures are dropped
    EXPECT_EQ(v2.GetControlIndex("b"), 0);

    // An inner version above 3: the change is announced and completed with an empty skin.
    FakeForms forms;
    forms.Add("f");
    auto s4 = StoredSkin(OuterFromInner(InnerSkin(4, kText)));
    EXPECT_FALSE(v3.LoadCompressedStoredSkin(s4.get()));
    EXPECT_NE(v3.LastError().find("version 4"), std::string::npos);
    EXPECT_TRUE(v3.Empty);
    EXPECT_EQ(v3.CtrlList.size(), 0u);
    EXPECT_TRUE(v3.FPicture.Empty());
    EXPECT_EQ(forms.log, (std::vector<std::string>{"f:1225", "f:1226", "f:1227"}));

    // An outer version above 3 is an empty stored skin, which loads nothing.
    auto outer4 = StoredSkin(OuterFromInner(InnerSkin(3, kText), 4));
    EXPECT_TRUE(outer4->Empty());
    forms.log.clear();
    v2.SetCompressedStoredSkin(outer4.get());
    EXPECT_FALSE(v2.Empty);
    EXPECT_TRUE(forms.log.empty());
}

TEST(StoredSkin, DamagedDataGivesAnEmptySkinAndAnError) {
    std::string good = OuterFromInner(InnerSkin(3, kText, {Picture(4, 4, 1)}, {Picture(3, 3, 2)}));
    std::string zlib = good.substr(8);
    std::string bmp;
    {
        auto b = BmpBytes(Picture(3, 3, 2));
        bmp.assign(b.begin(), b.end());
    }
    std::string liar = bmp; // a BMP whose header claims more bytes than the data has
    liar[2] = '\xFF';
    liar[3] = '\xFF';
    std::string flat = InnerSkin(3, "");
    std::string atZero = bmp; // pixels that would start at the file header
    atZero[10] = atZero[11] = atZero[12] = atZero[13] = '\0';
    std::string lyingCount = flat.substr(0, 7) + std::string("\5\0\0\0", 4) + bmp + kText;
    struct Case {
        const char* name;
        std::string inner; // compressed as it stands
        // The formatter of this toolchain crashes on these tables.
        // clang-format off
    } innerCases[] = {
        {"BMP header lies", flat.substr(0, 7) + std::string("\1\0\0\0", 4) + liar},
        {"more pictures counted than present", lyingCount},
        {"BMP pixels at offset 0", flat.substr(0, 7) + std::string("\1\0\0\0", 4) + atZero + kText},
        {"cut inside the version", std::string("\3\0", 2)},
        {"cut inside a picture", flat.substr(0, 4) + std::string(1, '\0') + bmp.substr(0, 30)},
    };
    // clang-format on
    FakeForms forms;
    forms.Add("f");
    for (auto& c : innerCases) {
        TbsSkinData data;
        auto stored = StoredSkin(OuterFromInner(c.inner));
        forms.log.clear();
        EXPECT_FALSE(data.LoadCompressedStoredSkin(stored.get())) << c.name;
        EXPECT_FALSE(data.LastError().empty()) << c.name;
        EXPECT_TRUE(data.Empty) << c.name;
        EXPECT_TRUE(data.FActivePictures.empty()) << c.name;
        EXPECT_EQ(forms.log.size(), 3u) << c.name; // the forms are never left mid-change
    }
    std::string corrupt = zlib;
    corrupt[zlib.size() / 2] ^= 0x55;
    struct ZCase {
        const char* name;
        std::string zlib;
        // The formatter of this toolchain crashes on these tables.
        // clang-format off
    } zlibCases[] = {
        {"truncated zlib stream", zlib.substr(0, zlib.size() / 2)},
        {"missing checksum", zlib.substr(0, zlib.size() - 2)},
        {"corrupt zlib stream", corrupt},
        {"no zlib header", "garbage that is not deflate data"},
    };
    // clang-format on
    for (auto& c : zlibCases) {
        TbsSkinData data;
        auto stored = StoredSkin(Outer(c.zlib));
        EXPECT_FALSE(data.LoadCompressedStoredSkin(stored.get())) << c.name;
        EXPECT_EQ(data.LastError(), "compression error") << c.name;
        EXPECT_TRUE(data.Empty) << c.name;
    }
    // Lengths beyond the data in the outer header.
    for (int32_t size : {-1, static_cast<int32_t>(zlib.size() + 1), 0x7FFFFFFF}) {
        TbsCompressedStoredSkin stored;
        gui::TStringStream s(Outer(zlib, 3, size));
        if (size == -1) s = gui::TStringStream(good.substr(0, 4) + std::string("\xFF\xFF\xFF\xFF", 4) + zlib);
        EXPECT_THROW(stored.LoadFromCompressStream(s), gui::EReadError) << size;
        EXPECT_TRUE(stored.Empty());
    }
    // Bytes after the end of the zlib stream are not waited for.
    TbsSkinData trailing;
    auto stored = StoredSkin(Outer(zlib + "trailing bytes"));
    EXPECT_TRUE(trailing.LoadCompressedStoredSkin(stored.get())) << trailing.LastError();
}

TEST(StoredSkin, FolderFailures) {
    TempDir dir;
    std::string ini = WriteSampleSkinFolder(dir.path.string());
    FakeForms forms;
    forms.Add("f");
    TbsSkinData data;
    ASSERT_TRUE(data.LoadFromFile(ini));
    forms.log.clear();

    // A text without a required section changes nothing and announces nothing.
    WriteFile(dir / "bad.ini", std::string("[VERSION]\r\n[PICTURES]\r\n"));
    EXPECT_FALSE(data.LoadFromFile(dir / "bad.ini"));
    EXPECT_FALSE(data.LoadFromFile(dir / "missing.ini"));
    EXPECT_FALSE(data.Empty);
    EXPECT_TRUE(forms.log.empty());
    TbsCompressedStoredSkin stored;
    EXPECT_FALSE(stored.LoadFromIniFile(dir / "bad.ini"));
    EXPECT_TRUE(stored.Empty());

    // A missing picture ends the load with an empty skin and the closing messages.
    std::filesystem::remove(dir.path / "p1.bmp");
    EXPECT_FALSE(data.LoadFromFile(ini));
    EXPECT_NE(data.LastError().find("p1.bmp"), std::string::npos) << data.LastError();
    EXPECT_TRUE(data.Empty);
    EXPECT_EQ(forms.log, (std::vector<std::string>{"f:1225", "f:1226", "f:1227"}));
    EXPECT_THROW(stored.LoadFromIniFile(ini), gui::EFOpenError);
    EXPECT_TRUE(stored.Empty());
    EXPECT_FALSE(data.LoadFromCompressedFile(dir / "missing.skn"));
}

TEST(StoredSkin, FolderLoadingAndPackingAgreeOnEveryFile) {
    auto patch = [](std::vector<uint8_t> bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return bytes;
    };
    auto bmp = BmpBytes(Picture(20, 20, 3));
    std::string ini = SampleSkinIni();
    struct Case {
        const char* name;
        std::vector<uint8_t> p0; // the first indexed picture
        std::string ini;
        bool readable;
    } cases[] = {
        {"as written",                              bmp,       ini,            true                               },
        {"BMP length 0",                            patch(bmp, 2,              0),                                  ini, true},
        {"BMP length beyond the file",                                     patch(bmp,                                              2,                                 static_cast<uint32_t>(bmp.size() + 100)),                       ini, true},
        {"BMP length short of the file", patch(bmp,       2,40),ini, true},
        {"BMP pixels at offset 0",                                patch(bmp,                                  10,                                                             0),                                                                                                ini, false},
        {"BMP pixels inside the header",                                         patch(bmp,                           10, 20), ini, false},
        {"text with a UTF-8 byte-order mark",                                      bmp,                                          "\xEF\xBB\xBF" + ini,                                                        true},
    };
    for (auto& c : cases) {
        TempDir dir;
        std::string file = WriteSampleSkinFolder(dir.path.string());
        WriteFile(dir / "p0.bmp", c.p0);
        WriteFile(file, c.ini);
        TbsSkinData fromFolder;
        EXPECT_EQ(fromFolder.LoadFromFile(file), c.readable) << c.name << ": " << fromFolder.LastError();
        TbsCompressedStoredSkin packed;
        if (!c.readable) {
            EXPECT_THROW(packed.LoadFromIniFile(file), EInvalidGraphic) << c.name;
            EXPECT_TRUE(packed.Empty()) << c.name;
            continue;
        }
        ASSERT_TRUE(packed.LoadFromIniFile(file)) << c.name;
        TbsSkinData fromPacked;
        ASSERT_TRUE(fromPacked.LoadCompressedStoredSkin(&packed)) << c.name << ": " << fromPacked.LastError();
        EXPECT_EQ(fromPacked.SkinName, "Sample") << c.name;
        ExpectSameSkin(fromFolder, fromPacked);
        EXPECT_TRUE(fromPacked.FActivePictures[0]->Image().pixels == Picture(20, 20, 3).pixels) << c.name;
        // The stored text has no byte-order mark.
        gui::TMemoryStream inner;
        packed.DeCompressToStream(inner);
        EXPECT_EQ(Bytes(inner).find("\xEF\xBB\xBF"), std::string::npos) << c.name;
    }
}

TEST(StoredSkin, EmptyStoredSkinWritesNoFile) {
    TempDir dir;
    TbsCompressedStoredSkin empty;
    empty.SaveToCompressFile(dir / "none.skn");
    EXPECT_FALSE(std::filesystem::exists(dir.path / "none.skn"));
    TbsSkinData data;
    EXPECT_FALSE(data.LoadCompressedStoredSkin(&empty));
    EXPECT_TRUE(data.Empty);
}

TEST(SkinList, ItemsAreNamedByTheirIndexAtCreation) {
    TbsCompressedSkinList list;
    list.Skins().Add();
    list.Skins().Add();
    list.Skins().Add();
    list.Skins().Delete(0);
    EXPECT_EQ(list.Skins()[0].Name, "bsSkin1");
    EXPECT_EQ(list.Skins().Add().Name, "bsSkin2");
    EXPECT_EQ(list.Skins().Owner(), &list);
    EXPECT_THROW(list.Skins()[7], gui::EListError);
}

TEST(ZlibStreams, RoundTripAndStreamRules) {
    gui::TMemoryStream dest;
    std::string text(100000, 'a');
    for (size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
    {
        TCompressionStream z(TCompressionLevel::clMax, dest);
        z.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
        EXPECT_EQ(z.Seek(0, gui::TSeekOrigin::soCurrent), static_cast<int64_t>(text.size()));
        EXPECT_THROW(z.Seek(1, gui::TSeekOrigin::soBeginning), ECompressionError);
        char c;
        EXPECT_THROW(z.Read(&c, 1), ECompressionError);
        z.Finish();
        EXPECT_GT(z.CompressionRate(), 50.0);
    }
    dest.SetPosition(0);
    TDecompressionStream z(dest);
    std::string back(text.size(), '\0');
    z.ReadBuffer(back.data(), static_cast<int64_t>(back.size()));
    EXPECT_EQ(back, text);
    EXPECT_EQ(z.Seek(0, gui::TSeekOrigin::soBeginning), 0);
    EXPECT_EQ(z.Seek(10, gui::TSeekOrigin::soCurrent), 10);
    char c;
    z.ReadBuffer(&c, 1);
    EXPECT_EQ(c, text[10]);
    EXPECT_THROW(z.Seek(2, gui::TSeekOrigin::soBeginning), EDecompressionError);
    EXPECT_THROW(z.Write(&c, 1), EDecompressionError);
}

TEST(ZlibStreams, ProgressFiresForEveryFullBuffer) {
    // Data that does not compress, so that the output fills several buffers.
    std::string noise(50000, '\0');
    uint32_t x = 12345;
    for (auto& ch : noise) ch = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
    gui::TMemoryStream dest;
    int written = 0;
    {
        TCompressionStream z(TCompressionLevel::clMax, dest);
        z.OnProgress = [&](TCustomZlibStream*) { ++written; };
        z.WriteBuffer(noise.data(), static_cast<int64_t>(noise.size()));
        EXPECT_GT(written, 0);
        EXPECT_EQ(dest.Size(), written * 8192); // each full buffer went out with its notice
        z.Finish();
    }
    dest.SetPosition(0);
    int read = 0;
    TDecompressionStream z(dest);
    z.OnProgress = [&](TCustomZlibStream*) { ++read; };
    std::string back(noise.size(), '\0');
    z.ReadBuffer(back.data(), static_cast<int64_t>(back.size()));
    EXPECT_EQ(back, noise);
    EXPECT_EQ(read, (dest.Size() + 8191) / 8192); // one notice per input refill
}

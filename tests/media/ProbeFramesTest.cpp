#include <fstream>

#include "ProbeTestUtil.h"
#include "media/AVApi.h"
#include "media/AVProbe.h"

using namespace media;
using fixtures::ClipKind;
using fixtures::ClipOptions;

namespace {

int FrameNumber(const TFrameInfo& f) {
    if (!f.Ready) return -2;
    return fixtures::ReadFrameNumber(f.Picture.data[0], f.Picture.linesize[0], f.Width, f.Height, 1);
}

// Decodes one step and gives the number of the picture it lands on, -1
// when the step fails.
template <class Step> int Land(TAVProbe& probe, Step step) {
    if (!step()) return -1;
    return FrameNumber(probe.FrameInfo());
}

} // namespace

// Every picture of the stream in display order, the delayed ones at the end
// included, each timed from the stream's start.
TEST_F(ProbeTest, DecodeWalksEveryPictureInOrder) {
    // Rows of different lengths, which the formatter cannot align.
    // clang-format off
    const std::vector<ClipOptions> clips = {
        {.kind = ClipKind::Avi, .seconds = 1.0, .audio = false},
        {.kind = ClipKind::Mp4, .seconds = 1.0},
        {.kind = ClipKind::Mpg, .seconds = 1.0},
        {.kind = ClipKind::Mkv, .seconds = 1.0, .videoCodec = "mpeg4", .maxBFrames = 2},
        {.kind = ClipKind::Mp4, .seconds = 1.0, .videoCodec = "mpeg4", .maxBFrames = 2},
        {.kind = ClipKind::Mpg, .seconds = 1.0, .format = "mpegts", .maxBFrames = 2},
    };
    // clang-format on
    for (size_t i = 0; i < clips.size(); ++i) {
        const ClipOptions& o = clips[i];
        std::string path =
            fixtures::MakeClip(folder, o, "walk" + std::to_string(i) + fixtures::ClipExtension(o.kind));
        SCOPED_TRACE(path);
        std::vector<fixtures::DecodedFrame> expected = fixtures::DecodeFrames(path);
        ASSERT_EQ(expected.size(), 25u);
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
        int64_t lastPosition = -1;
        for (const auto& e : expected) {
            ASSERT_TRUE(probe.Decode()) << "frame " << e.number << ": " << probe.LastErrMsg();
            const TFrameInfo& f = probe.FrameInfo();
            EXPECT_EQ(FrameNumber(f), e.number);
            EXPECT_EQ(f.IsKeyFrame, e.key) << "frame " << e.number;
            EXPECT_EQ(f.PTS, e.number * 40000) << "frame " << e.number;
            EXPECT_EQ(f.StreamIndex, 0);
            EXPECT_EQ(f.Width, 320);
            EXPECT_EQ(f.PixFmt, AV_PIX_FMT_YUV420P);
            EXPECT_GE(f.Position, lastPosition);
            lastPosition = f.Position;
        }
        EXPECT_FALSE(probe.Eof());
        EXPECT_FALSE(probe.Decode());
        EXPECT_EQ(probe.LastErrMsg(), "stream eof reached.");
        EXPECT_TRUE(probe.Eof());
        EXPECT_FALSE(probe.Decode());
        EXPECT_EQ(probe.LastErrMsg(), "stream eof reached.");
        // A seek starts again.
        EXPECT_TRUE(probe.Seek(0));
        EXPECT_FALSE(probe.Eof());
        EXPECT_EQ(Land(probe, [&] { return probe.Decode(); }), 0);
    }
}

// Key frames every 12 pictures: 0, 12, 24, 36, ...
TEST_F(ProbeTest, KeyFrameAndPreviousFrameStepsLandOnTheRightPictures) {
    const std::vector<ClipOptions> clips = {
        {.kind = ClipKind::Avi, .seconds = 3.0, .audio = false},
        {.kind = ClipKind::Mp4,                     .seconds = 3.0              },
        {.kind = ClipKind::Mkv,                     .seconds = 3.0},
    };
    for (const ClipOptions& o : clips) {
        std::string path = fixtures::MakeClip(folder, o);
        SCOPED_TRACE(path);
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
        auto decode = [&] { return probe.Decode(); };
        auto nextKey = [&] { return probe.DecodeNextKeyFrame(); };
        auto previousKey = [&] { return probe.DecodePreviousKeyFrame(); };
        auto previous = [&] { return probe.DecodePreviousFrame(); };
        EXPECT_EQ(Land(probe, decode), 0);
        EXPECT_EQ(Land(probe, nextKey), 12);
        EXPECT_EQ(Land(probe, nextKey), 24);
        EXPECT_TRUE(probe.FrameInfo().IsKeyFrame);
        EXPECT_EQ(Land(probe, previousKey), 12);
        EXPECT_EQ(Land(probe, decode), 13);
        EXPECT_EQ(Land(probe, decode), 14);
        EXPECT_EQ(Land(probe, previous), 13);
        EXPECT_EQ(Land(probe, previous), 12);
        EXPECT_EQ(Land(probe, previous), 11);
        EXPECT_EQ(Land(probe, previousKey), 0);
        EXPECT_EQ(Land(probe, previousKey), 0);
        EXPECT_EQ(Land(probe, decode), 1);
        EXPECT_EQ(Land(probe, previous), 0);

        // Seeks land on a key frame: at or after the time, or before it backward.
        EXPECT_TRUE(probe.Seek(1000000)); // picture 25
        EXPECT_EQ(probe.FrameInfo().Ready, false);
        EXPECT_EQ(Land(probe, decode), 36);
        EXPECT_TRUE(probe.Seek(1000000, {sfBackward}));
        EXPECT_EQ(Land(probe, decode), 24);
        EXPECT_TRUE(probe.Seek(-5));
        EXPECT_EQ(Land(probe, decode), 0);
        EXPECT_FALSE(probe.Seek(60000000)) << "beyond the end";
    }
}

// A transport stream starts late: seeking to 0 still finds the first picture.
TEST_F(ProbeTest, SeekToTheStartOfAStreamThatStartsLate) {
    std::string path =
        fixtures::MakeClip(folder, {.kind = ClipKind::Mpg, .seconds = 1.0, .format = "mpegts"});
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
    ASSERT_GT(probe.FirstVideoStreamInfo().StartTime, 0);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(probe.Decode());
    EXPECT_TRUE(probe.Seek(0));
    ASSERT_TRUE(probe.Decode());
    EXPECT_EQ(FrameNumber(probe.FrameInfo()), 0);
    EXPECT_EQ(probe.FrameInfo().PTS, 0);
}

// The stream's first pictures are cut away, so no picture before the first
// one ever decodes: the backward search must give up instead of trying for
// ever.
TEST_F(ProbeTest, PreviousKeyFrameSearchEndsWhenNothingEarlierDecodes) {
    std::string whole = fixtures::MakeClip(
        folder, {.kind = ClipKind::Mp4, .seconds = 2.0, .audio = false, .format = "mpegts"}, "whole.ts");
    std::ifstream in(whole, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t cut = bytes.size() / 6 / 188 * 188; // inside the first group of pictures
    std::string path = folder.Path("cut.ts");
    std::ofstream(path, std::ios::binary) << bytes.substr(cut);

    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
    ASSERT_TRUE(probe.Decode());
    int first = FrameNumber(probe.FrameInfo());
    EXPECT_EQ(first, 12);
    ASSERT_GT(probe.FrameInfo().PTS, 0);
    EXPECT_FALSE(probe.DecodePreviousKeyFrame());
    EXPECT_EQ(probe.LastErrMsg().rfind("Could not seek to the previous key-frame. ", 0), 0u)
        << probe.LastErrMsg();
    EXPECT_FALSE(probe.DecodePreviousFrame());
}

TEST_F(ProbeTest, CopyToBitmapGivesTheDecodedPicture) {
    std::string path = fixtures::MakeClip(folder, {.kind = ClipKind::Mp4, .seconds = 0.4});
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(path));
    TFrameBitmap bitmap;
    EXPECT_FALSE(probe.CopyToBitmap(bitmap));
    EXPECT_EQ(probe.LastErrMsg(), "picture not ready, please decode first");
    for (int i = 0; i <= 7; ++i) ASSERT_TRUE(probe.Decode());
    ASSERT_TRUE(probe.CopyToBitmap(bitmap));
    EXPECT_EQ(bitmap.Width(), 320);
    EXPECT_EQ(bitmap.Height(), 240);
    EXPECT_EQ(fixtures::ReadFrameNumber(bitmap.ScanLine(0), bitmap.Stride(), 320, 240, 3), 7);
    probe.CloseFile();
    EXPECT_FALSE(probe.CopyToBitmap(bitmap));
}

namespace {

// A 24-bit picture file, written by hand: 54 header bytes, then bottom-up rows.
void WriteBmp(const std::string& path, int width, int height) {
    int row = (width * 3 + 3) & ~3;
    int size = 54 + row * height;
    std::string b(static_cast<size_t>(size), '\0');
    auto put = [&](int at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[static_cast<size_t>(at + i)] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, static_cast<uint32_t>(row * height), 4);
    for (int i = 54; i < size; ++i) b[static_cast<size_t>(i)] = static_cast<char>(i * 7);
    std::ofstream(path, std::ios::binary) << b;
}

} // namespace

// One picture in a file decodes once; it has no time to seek to.
TEST_F(ProbeTest, StillPictureDecodesOnceAndCannotSeek) {
    std::string path = folder.Path("still.bmp");
    WriteBmp(path, 64, 48);
    for (const char* format : {"", "image2"}) {
        SCOPED_TRACE(format);
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(path, format)) << probe.LastErrMsg();
        ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
        EXPECT_EQ(probe.FrameInfo().Width, 64);
        EXPECT_TRUE(probe.Decode());
        EXPECT_TRUE(probe.Decode());
        EXPECT_FALSE(probe.Seek(0));
        EXPECT_EQ(probe.LastErrMsg(), "\"image2\" format cannot to be seeked.");
        TFrameBitmap bitmap;
        EXPECT_TRUE(probe.CopyToBitmap(bitmap));
        EXPECT_EQ(bitmap.Height(), 48);
    }
}

TEST_F(ProbeTest, FrameAccessRefusesWhatItCannotDecode) {
    std::string mp4 = fixtures::MakeClip(folder, {.kind = ClipKind::Mp4, .seconds = 0.2});
    std::string wav = fixtures::MakeClip(folder, {.kind = ClipKind::Wav, .seconds = 0.2});
    TAVProbe probe;
    EXPECT_FALSE(probe.Decode());
    EXPECT_EQ(probe.LastErrMsg(), "file not loaded.");
    EXPECT_FALSE(probe.Seek(0));
    EXPECT_FALSE(probe.DecodeNextKeyFrame());
    ASSERT_TRUE(probe.LoadFile(mp4));
    struct {
        int index;
        const char* message;
    } cases[] = {
        {1, "stream #1 is not video stream."},
        {2, "stream index #2 is invalid."   },
    };
    for (auto& c : cases) {
        EXPECT_FALSE(probe.Decode(c.index));
        EXPECT_EQ(probe.LastErrMsg(), c.message);
        EXPECT_FALSE(probe.DecodePreviousFrame(c.index));
        EXPECT_EQ(probe.LastErrMsg(), c.message);
    }
    ASSERT_TRUE(probe.LoadFile(wav));
    EXPECT_FALSE(probe.Decode());
    EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
    EXPECT_FALSE(probe.DecodeNextKeyFrame());
    EXPECT_EQ(probe.LastErrMsg(), "no video stream.");
}

// Files cut short decode what they hold and end without a crash.
TEST_F(ProbeTest, TruncatedFilesDecodeToTheirEnd) {
    for (ClipKind kind : {ClipKind::Avi, ClipKind::Mpg, ClipKind::Mkv}) {
        std::string whole = fixtures::MakeClip(folder, {.kind = kind, .seconds = 1.0});
        std::ifstream in(whole, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string path = folder.Path("cut" + fixtures::ClipExtension(kind));
        std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() * 3 / 5);
        SCOPED_TRACE(path);
        TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(path)) << probe.LastErrMsg();
        int decoded = 0;
        while (probe.Decode()) ++decoded;
        EXPECT_GT(decoded, 5);
        EXPECT_LT(decoded, 25);
        EXPECT_TRUE(probe.Eof());
        EXPECT_TRUE(probe.DecodePreviousKeyFrame() || !probe.LastErrMsg().empty());
        EXPECT_FALSE(probe.FileInfoText().empty());
    }
}

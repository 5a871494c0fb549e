// The engine's side of the preview window, with a stand-in window made by the
// factory: a worker paints through its own reference, so that the GUI thread
// dropping the preview in the middle of a paint frees the window only after
// it; a closed window stops the task's preview while the conversion goes on.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "ConverterTestSupport.h"
#include "media/Previewer.h"
#include "os/MainThread.h"

using namespace media;
using namespace convtest;

namespace {

struct PaintLog {
    std::atomic<int> paints{0};
    std::atomic<int> made{0};
    std::atomic<bool> painting{false};
    std::atomic<bool> freed{false};
    std::atomic<bool> freedWhilePainting{false};
};

class StandInPreviewer : public TCustomPreviewer {
public:
    StandInPreviewer(PaintLog& ALog, std::function<bool(int)> AOnPaint)
        : log_(ALog), onPaint_(std::move(AOnPaint)) {
        ++log_.made;
    }
    ~StandInPreviewer() override {
        if (log_.painting) log_.freedWhilePainting = true;
        log_.freed = true;
    }
    bool PaintFrame(const TFrameBitmap* ABitmap, int32_t, int64_t) override {
        log_.painting = true;
        EXPECT_TRUE(ABitmap && ABitmap->Width() > 0);
        const bool open = onPaint_(++log_.paints);
        log_.painting = false;
        return open;
    }

private:
    PaintLog& log_;
    std::function<bool(int)> onPaint_;
};

TEST(Previewer, TheGuiDroppingOrTheUserClosingEndsThePreviewNotTheConversion) {
    struct Case {
        const char* name;
        bool guiDrops; // the GUI thread switches the preview off during the first paint
        int closedAt;  // the window reports itself closed at this paint (0: never)
        int paints;
    };
    for (const Case& c : {
             Case{"dropped by the GUI mid-paint", true,  0, 1},
             Case{"closed by the user",           false, 2, 2}
    }) {
        SCOPED_TRACE(c.name);
        TestConverter conv;
        Recorder rec;
        rec.Attach(conv);
        PaintLog log;
        SetPreviewerFactory([&]() -> std::shared_ptr<TCustomPreviewer> {
            return std::make_shared<StandInPreviewer>(log, [&](int n) {
                if (c.guiDrops) os::CallInMainThread([&] { conv.SetPreview(false); });
                return n != c.closedAt;
            });
        });
        const std::string out = Folder().Path("previewed.mpg");
        std::filesystem::remove(out);
        const int index = conv.AddTask(SourceClip());
        ASSERT_GE(index, 0) << conv.LastErrMsg();
        ASSERT_TRUE(conv.SetOutputFile(index, out, "")) << conv.LastErrMsg();
        conv.Tasks().Get(index)->PreviewInterval = 0; // every frame
        conv.SetPreview(true);
        conv.Start(1);
        rec.WaitFinal();
        SetPreviewerFactory(nullptr);
        ASSERT_EQ(rec.Order(), (std::vector<int>{0, -1}));
        EXPECT_TRUE(rec.Records()[0].info.Finished) << rec.Records()[0].info.ExceptionMsg;
        EXPECT_EQ(log.made.load(), 1);
        EXPECT_EQ(log.paints.load(), c.paints);
        EXPECT_TRUE(log.freed.load());
        EXPECT_FALSE(log.freedWhilePainting.load());
        EXPECT_EQ(fixtures::DecodeFrameNumbers(out).size(), 50u);
        conv.ClearTasks();
    }
}

// Without a factory (no GUI) a task with the preview on converts as without it.
TEST(Previewer, WithoutAFactoryNothingIsShown) {
    TestConverter conv;
    Recorder rec;
    rec.Attach(conv);
    const std::string out = Folder().Path("unpreviewed.mpg");
    std::filesystem::remove(out);
    const int index = conv.AddTask(SourceClip());
    ASSERT_GE(index, 0) << conv.LastErrMsg();
    ASSERT_TRUE(conv.SetOutputFile(index, out, "")) << conv.LastErrMsg();
    conv.SetPreview(true);
    conv.Start(1);
    rec.WaitFinal();
    EXPECT_TRUE(rec.Records()[0].info.Finished) << rec.Records()[0].info.ExceptionMsg;
    EXPECT_EQ(fixtures::DecodeFrameNumbers(out).size(), 50u);
}

} // namespace

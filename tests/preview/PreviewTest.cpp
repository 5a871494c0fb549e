// Conversions with the preview on: each previewing task shows its frames in a
// window of its own, which the user can drag and close.
#include "../gui/GuiHarness.h"
#include "app/PreviewWindows.h"
#include "app/Previewer.h"
#include "fixtures/Fixtures.h"
#include "media/FFUtils.h"
#include "media/FFmpegConverter.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>
#include <mutex>
#include <vector>

using namespace gui;

namespace {

class Converter : public media::TFFmpegConverter {
public:
    using media::TCustomFFmpegConverter::Tasks;
    using media::TFFmpegConverter::TFFmpegConverter;
};

fixtures::TempFolder& Folder() {
    static fixtures::TempFolder folder{"preview"};
    return folder;
}

// A 320 x 240 clip of 50 frames, and one read at its own pace for three seconds.
const std::string& Clip() {
    static const std::string path = fixtures::MakeClip(Folder(), fixtures::ClipOptions{}, "clip.mp4");
    return path;
}
const std::string& PacedClip() {
    static const std::string path = [] {
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 3.0;
        o.audio = false;
        return fixtures::MakeClip(Folder(), o, "paced.mpg");
    }();
    return path;
}

class PreviewTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(conv.LoadAVLib("")) << conv.LastErrMsg();
        app::InstallPreviewerFactory();
        conv.SetOnTerminate([this](os::TObject*, const media::TTerminateInfo& info) {
            std::lock_guard g(m);
            records.push_back(info);
        });
    }
    void TearDown() override {
        if (conv.Working() && !conv.Terminated()) conv.Stop(true);
        ASSERT_TRUE(PumpUntil([&] { return !conv.Working() || conv.Terminated(); }, "the run to end"));
        conv.ClearTasks();
        media::SetPreviewerFactory(nullptr);
        GuiTest::TearDown();
    }
    // Runs the GUI thread (the workers' calls and the windows' messages) until done holds.
    static ::testing::AssertionResult PumpUntil(const std::function<bool()>& done, const std::string& what) {
        return WaitUntil(
            [&] {
                os::CheckSynchronize(1);
                MSG msg;
                Application->ProcessMessage(msg);
                return done();
            },
            std::chrono::seconds(30), what);
    }
    int AddTask(const std::string& source, const std::string& name, const std::string& options = "") {
        int index = conv.AddTask(source, options);
        EXPECT_GE(index, 0) << conv.LastErrMsg();
        EXPECT_TRUE(conv.SetOutputFile(index, Folder().Path(name), "")) << conv.LastErrMsg();
        return index;
    }
    bool FinalRecord() {
        std::lock_guard g(m);
        return std::any_of(records.begin(), records.end(), [](auto& r) { return r.TaskIndex == -1; });
    }
    bool AllFinished() {
        std::lock_guard g(m);
        return std::all_of(records.begin(), records.end(), [](auto& r) { return r.Finished; });
    }
    // The preview windows on the screen, in the order they appeared.
    std::vector<TCustomForm*> Previews() {
        std::vector<TCustomForm*> out;
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f->HandleAllocated() && app::TPreviewWindows::Contains(f->Handle())) out.push_back(f);
        }
        std::sort(out.begin(), out.end(),
                  [this](TCustomForm* a, TCustomForm* b) { return Seen(a) < Seen(b); });
        return out;
    }
    size_t Seen(TCustomForm* f) {
        auto it = std::find(seen.begin(), seen.end(), f->Handle());
        if (it == seen.end()) it = seen.insert(seen.end(), f->Handle());
        return static_cast<size_t>(it - seen.begin());
    }
    // The frame number the window's client area shows, -1 when it shows none.
    static int ShownFrame(TCustomForm* f) {
        RECT wr, cr;
        GetWindowRect(f->Handle(), &wr);
        GetClientRect(f->Handle(), &cr);
        POINT origin{0, 0};
        ClientToScreen(f->Handle(), &origin);
        const gdi::Bitmap* surface = win::GetWindowSurface(f->Handle());
        if (!surface) return -1;
        std::vector<uint32_t> pixels(static_cast<size_t>(cr.right) * cr.bottom);
        for (int y = 0; y < cr.bottom; ++y)
            for (int x = 0; x < cr.right; ++x)
                pixels[static_cast<size_t>(y) * cr.right + x] =
                    surface->View().Get(origin.x - wr.left + x, origin.y - wr.top + y);
        return fixtures::ReadFrameNumber(reinterpret_cast<const uint8_t*>(pixels.data()), cr.right * 4,
                                         cr.right, cr.bottom, 4);
    }

    Converter conv;
    std::mutex m;
    std::vector<media::TTerminateInfo> records;
    std::vector<HWND> seen;
};

TEST_F(PreviewTest, ATaskShowsItsFramesInOneTopmostToolWindow) {
    AddTask(Clip(), "one.mpg");
    conv.SetPreview(true);
    conv.Start(1);
    // Every picture shown carries the time of its frame in the caption.
    std::vector<int> frames;
    TCustomForm* window = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            std::vector<TCustomForm*> p = Previews();
            EXPECT_LE(p.size(), 1u);
            if (p.empty()) return FinalRecord();
            window = p.front();
            int n = ShownFrame(window);
            if (n >= 0 && (frames.empty() || frames.back() != n)) {
                frames.push_back(n);
                EXPECT_EQ(window->Caption(), media::TimeText(int64_t{n} * 40000)) << n;
                RECT cr;
                GetClientRect(window->Handle(), &cr);
                EXPECT_EQ(cr.right, 320);
                EXPECT_EQ(cr.bottom, 240);
                LONG_PTR ex = GetWindowLongPtr(window->Handle(), GWL_EXSTYLE);
                EXPECT_TRUE(ex & WS_EX_TOPMOST);
                EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
            }
            return FinalRecord();
        },
        "the run to end"));
    ASSERT_FALSE(frames.empty()) << "no preview window showed a frame";
    EXPECT_EQ(frames.front(), 0);
    EXPECT_TRUE(AllFinished());
    // The window goes with the task's preview.
    conv.ClearTasks();
    RunUntilIdle();
    EXPECT_TRUE(Previews().empty());
}

// Two tasks preview at once; their windows close in either order.  A handler
// the program put on the application's messages before keeps getting them,
// and the window still open can still be dragged by its picture.
TEST_F(PreviewTest, WindowsCloseInEitherOrderAndTheConversionsFinish) {
    for (bool firstOpenedClosesFirst : {true, false}) {
        SCOPED_TRACE(firstOpenedClosesFirst ? "first opened closes first" : "last opened closes first");
        records.clear();
        seen.clear();
        const UINT probe = WM_USER + 77;
        int probes = 0;
        Application->OnMessage = [&](MSG& msg, bool&) { probes += msg.message == probe; };
        auto probeArrives = [&] {
            int before = probes;
            PostMessage(Application->Handle(), probe, 0, 0);
            return PumpUntil([&] { return probes > before; }, "the probe message");
        };
        AddTask(PacedClip(), "a.mpg", "re=1");
        AddTask(PacedClip(), "b.mpg", "re=1");
        conv.SetPreview(true);
        conv.Start(2);
        ASSERT_TRUE(PumpUntil([&] { return Previews().size() == 2; }, "two preview windows"));
        std::vector<TCustomForm*> windows = Previews();
        if (!firstOpenedClosesFirst) std::swap(windows[0], windows[1]);
        HWND first = windows[0]->Handle(), second = windows[1]->Handle();

        windows[0]->Close();
        // Closed: hidden at once, freed at the task's next frame.
        EXPECT_FALSE(IsWindowVisible(first));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(first); }, "the closed window to go"));
        EXPECT_TRUE(probeArrives());

        RECT before;
        GetWindowRect(second, &before);
        POINT p{before.left + (before.right - before.left) / 2,
                before.top + (before.bottom - before.top) / 2};
        D().MoveMouse(p.x, p.y);
        D().Press();
        D().MoveMouse(p.x + 30, p.y + 20);
        D().Release();
        RunUntilIdle();
        RECT after;
        GetWindowRect(second, &after);
        EXPECT_EQ(after.left - before.left, 30);
        EXPECT_EQ(after.top - before.top, 20);

        windows[1]->Close();
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(second); }, "the second window to go"));
        EXPECT_TRUE(probeArrives());
        ASSERT_TRUE(PumpUntil([&] { return FinalRecord(); }, "the run to end"));
        EXPECT_TRUE(AllFinished());
        EXPECT_EQ(fixtures::DecodeFrameNumbers(Folder().Path("a.mpg")).size(), 75u);
        EXPECT_EQ(fixtures::DecodeFrameNumbers(Folder().Path("b.mpg")).size(), 75u);
        conv.ClearTasks();
        Application->OnMessage = nullptr;
    }
}

// With an event for bitmaps, the event gets the frames and no window opens.
TEST_F(PreviewTest, TheBitmapEventWinsOverTheWindow) {
    AddTask(Clip(), "bitmap.mpg");
    conv.SetPreview(true);
    conv.SetPreviewBitmap(true);
    conv.TriggerEventInMainThread = true;
    std::vector<int> sizes;
    conv.SetOnPreviewBitmap(
        [&](os::TObject*, const media::TPreviewInfo& info) { sizes.push_back(info.Bitmap->Width()); });
    conv.Start(1);
    ASSERT_TRUE(PumpUntil(
        [&] {
            EXPECT_TRUE(Previews().empty());
            return FinalRecord();
        },
        "the run to end"));
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.front(), 320);
    EXPECT_TRUE(AllFinished());
}

// The window keeps the size of the first frame; the caption tells each frame's time.
TEST_F(PreviewTest, TheWindowKeepsTheFirstFramesSize) {
    auto frame = [](int w, int h, uint8_t blue) {
        media::TFrameBitmap b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.ScanLine(y)[x * 3] = blue;
        return b;
    };
    app::TPreviewer previewer;
    media::TFrameBitmap small = frame(320, 240, 0x40), large = frame(640, 480, 0xC0);
    ASSERT_TRUE(previewer.PaintFrame(&small, 1, 1000000));
    std::vector<TCustomForm*> p = Previews();
    ASSERT_EQ(p.size(), 1u);
    TCustomForm* window = p.front();
    EXPECT_EQ(window->Caption(), "00:00:01.000");
    EXPECT_EQ(PixelAt(window, 319, 239), RGB(0, 0, 0x40));
    ASSERT_TRUE(previewer.PaintFrame(&large, 2, media::NoTime));
    EXPECT_EQ(window->Caption(), "N/A");
    RECT cr;
    GetClientRect(window->Handle(), &cr);
    EXPECT_EQ(cr.right, 320);
    EXPECT_EQ(cr.bottom, 240);
    EXPECT_EQ(PixelAt(window, 319, 239), RGB(0, 0, 0xC0));
    // Closing hides the window; the next frame is refused and shown no more.
    window->Close();
    EXPECT_FALSE(IsWindowVisible(window->Handle()));
    EXPECT_FALSE(previewer.PaintFrame(&small, 3, 2000000));
    EXPECT_EQ(window->Caption(), "N/A");
}

} // namespace

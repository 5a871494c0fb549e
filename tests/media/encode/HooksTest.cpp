// Frame-hook libraries ("vhook"): loading, configuring, the chain, release.
#include <dlfcn.h>

#include "EncodeTestSupport.h"

using namespace encodetest;

namespace {

// The hook library's own counters, read through the module the engine loaded.
int& HookCounter(const char* library, const char* name) {
    void* h = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(h, nullptr);
    int* counter = static_cast<int*>(dlsym(h, name));
    dlclose(h);
    return *counter;
}

struct HookEngine : media::TCustomFFmpeg {
    HookEngine() : media::TCustomFFmpeg(2) {}
    using media::TCustomFFmpeg::FrameHookAdd;
    using media::TCustomFFmpeg::FrameHookRelease;
};

class HooksTest : public enginetest::EngineTest {};

TEST_F(HooksTest, TwoHooksOfOneLibraryRunInOrderOnEveryPictureAndAreReleased) {
    HookEngine e;
    e.Reset();
    ASSERT_EQ(e.FrameHookAdd({TARVIK_TEST_VHOOK, "1"}), 0);
    ASSERT_EQ(e.FrameHookAdd({TARVIK_TEST_VHOOK, "2", "b"}), 0);
    int& calls = HookCounter(TARVIK_TEST_VHOOK, "vhook_process_calls");
    int& released = HookCounter(TARVIK_TEST_VHOOK, "vhook_release_calls");
    const int* order = &HookCounter(TARVIK_TEST_VHOOK, "vhook_order");
    EXPECT_EQ(HookCounter(TARVIK_TEST_VHOOK, "vhook_last_argc"), 3);
    calls = released = 0;
    media::TFramePtr picture = Picture(16, 8, AV_PIX_FMT_YUV420P, 10);
    media::FrameHookProcess(e.FFirstHook, picture.get(), 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(order[1], 2);
    EXPECT_EQ(picture->data[0][0], 10); // inverted twice
    e.FrameHookRelease();
    EXPECT_EQ(released, 2);
    EXPECT_EQ(e.FFirstHook, nullptr);
}

TEST_F(HooksTest, RefusedHooksGiveTheirCodesAndMessages) {
    HookEngine e;
    e.Reset();
    EXPECT_EQ(e.FrameHookAdd({}), -2);
    // The C library has no "Process".
    EXPECT_EQ(e.FrameHookAdd({"libc.so.6"}), -2);
    EXPECT_TRUE(Logged(media::llError, "Failed to find Process entrypoint in libc.so.6"));
    // Without "Configure": accepted alone, refused with arguments.
    EXPECT_EQ(e.FrameHookAdd({TARVIK_TEST_VHOOK_NOCONFIG}), 0);
    EXPECT_EQ(e.FrameHookAdd({TARVIK_TEST_VHOOK_NOCONFIG, "1"}), -2);
    EXPECT_TRUE(Logged(media::llError, "Failed to find Configure entrypoint in "));
    EXPECT_EQ(e.FrameHookAdd({TARVIK_TEST_VHOOK, "x"}), -22);
    EXPECT_TRUE(Logged(media::llError, "Failed to Configure "));
    EXPECT_EQ(e.FrameHookAdd({"/no/such/hook.so"}), -1);
    e.FrameHookRelease();
}

TEST_F(HooksTest, VhookOptionRunsTheLibraryOnPreprocessedPictures) {
    E().SetOption("vhook", TARVIK_TEST_VHOOK);
    EXPECT_TRUE(E().Fusing_vhook);
    int& calls = HookCounter(TARVIK_TEST_VHOOK, "vhook_process_calls");
    calls = 0;
    media::TAVInputStream ist;
    media::TFramePtr picture = Picture(16, 8, AV_PIX_FMT_YUV420P, 10);
    for (int i = 0; i < 3; ++i) {
        AVFrame* out = media::PreprocessPicture(E(), &ist, picture.get());
        EXPECT_EQ(out->data[0][0], 245);
    }
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(picture->data[0][0], 10); // the decoder's picture is left alone
    EXPECT_EQ(E().FHookFrameNumber, 3);
    EXPECT_EQ(Raised([&] { E().SetOption("vhook", "libc.so.6"); }),
              "Failed to add video hook function: libc.so.6");
}

} // namespace

// What the tasks of a running list take from the machine: codec threads
// shared out among the tasks that run at once, and no memory of a run kept
// by a task that has ended.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ConverterTestSupport.h"
#include "media/AVApi.h"
#include "media/AVProbe.h"
#include "media/CodecThreads.h"
#include "media/FFmpegTestHook.h"

using namespace media;
using namespace convtest;

namespace {

// A clip that a run reads at its own pace, so that the tasks of a list
// overlap as long as the clip lasts.
const std::string& PacedClip() {
    static const std::string path = [] {
        SourceClip();
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 1.0;
        o.width = 160;
        o.height = 120;
        return fixtures::MakeClip(Folder(), o, "paced1s.mpg");
    }();
    return path;
}

class TaskResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SourceClip();
        rec.Attach(conv);
    }
    void TearDown() override { CodecThreads().SetCores(0); }

    // Tasks converting the source clip with the video encoder; each gets its
    // own output.
    void AddTasks(int ACount, const std::string& AVideoCodec, const std::string& AExt,
                  const std::string& AMore = "", bool APaced = false) {
        for (int i = 0; i < ACount; ++i) {
            const int task = APaced ? conv.AddTask(PacedClip(), "re=1") : conv.AddTask(SourceClip());
            ASSERT_GE(task, 0) << conv.LastErrMsg();
            const std::string out = Folder().Path("res" + std::to_string(next++) + AExt);
            ASSERT_TRUE(conv.SetOutputFile(task, out, "vcodec=" + AVideoCodec + "\nacodec=mp2" + AMore))
                << conv.LastErrMsg();
        }
    }

    // Runs the list to its final record; every task must have finished.
    void Run(int AThreads) {
        conv.Start(AThreads);
        rec.WaitFinal();
        for (const Record& r : rec.Records()) {
            EXPECT_TRUE(r.info.Finished) << r.info.TaskIndex << " " << r.info.ExceptionMsg;
            EXPECT_FALSE(r.info.Exception) << r.info.TaskIndex << " " << r.info.ExceptionMsg;
        }
    }

    TestConverter conv;
    Recorder rec;
    int next = 0;
};

TEST_F(TaskResourcesTest, ARunningListNeverStartsMoreCodecThreadsThanTheCores) {
    const struct {
        int cores, tasks, atOnce;
        const char* codec;
        const char* ext;
    } cases[] = {
        {8, 6, 4, "libx264", ".mp4"},
        {8, 5, 3, "mpeg4",   ".avi"},
        {4, 4, 2, "libx264", ".mkv"},
 // Fewer cores than tasks: each task keeps to its own thread.
        {2, 4, 4, "libx264", ".mp4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cores) + " cores, " + std::to_string(c.atOnce) + " at once, " +
                     c.codec);
        CodecThreads().SetCores(c.cores);
        CodecThreads().ResetPeak();
        AddTasks(c.tasks, c.codec, c.ext, "", true);
        Run(c.atOnce);
        EXPECT_LE(CodecThreads().Peak(), c.cores);
        if (c.cores >= 2 * c.atOnce) {
            EXPECT_GT(CodecThreads().Peak(), 0) << "the encoders got no threads";
        }
        // Every run has given its share back.
        EXPECT_EQ(CodecThreads().InUse(), 0);
        EXPECT_EQ(CodecThreads().Running(), 0);
        conv.ClearTasks();
        rec.Clear();
    }
}

TEST_F(TaskResourcesTest, ATaskAloneSharesItsCoresBetweenDecoderAndEncoder) {
    const struct {
        int cores, threads;
    } cases[] = {
  // The stage that scales and encodes and the encoder's threads; the
  // decoder stays on the run's own thread, which keeps a core.
        {8,  1 + 6     },
        {16, 2 + 1 + 12}, // the MPEG-2 decoder's two slice threads
        {4,  1 + 2     }, // a decoder thread of one starts none
        {3,  3         }, // too small a share for a stage
        {2,  2         },
        {1,  0         },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cores) + " cores");
        CodecThreads().SetCores(c.cores);
        CodecThreads().ResetPeak();
        AddTasks(1, "libx264", ".mp4");
        Run(4);
        EXPECT_EQ(CodecThreads().Peak(), c.threads);
        conv.ClearTasks();
        rec.Clear();
    }
}

TEST_F(TaskResourcesTest, EndedTasksHoldNoRunBuffers) {
    // A preview picture and a frame hook give the run picture conversions
    // and a hook copy of each picture too.
    conv.SetPreviewBitmap(true);
    conv.SetOnPreviewBitmap([](os::TObject*, const TPreviewInfo&) {});
    conv.SetOnCustomHook([](os::TObject*, THookInfo*) {});
    AddTasks(3, "mpeg4", ".avi", "\nCustomHook=1");
    AddTasks(3, "libx264", ".mp4");
    int before = 0;
    for (int i = 0; i < conv.TasksCount(); ++i) before += conv.Tasks().Get(i)->LiveRunBuffers();
    EXPECT_GT(before, 0) << "the opened inputs count";
    Run(3);
    int workers = 0;
    for (int i = 0; i < conv.TasksCount(); ++i) {
        EXPECT_EQ(conv.Tasks().Get(i)->LiveRunBuffers(), 0) << i;
        workers += conv.Tasks().Get(i)->HoldsWorker() ? 1 : 0;
    }
    // Only the thread of the task that ended last is still to be reaped.
    EXPECT_LE(workers, 1);
}

TEST_F(TaskResourcesTest, AWaitingTaskKeepsNoCodecStateNorOptionContextsButItsSettings) {
    fixtures::ClipOptions o;
    o.kind = fixtures::ClipKind::Mp4;
    o.seconds = 0.5;
    o.width = 160;
    o.height = 120;
    const std::string clip = fixtures::MakeClip(Folder(), o, "settings.mp4");
    // "x264_build" is a private setting of the H.264 decoder, "mpeg_quant"
    // one of the MPEG-4 encoder, "g" a generic codec option, "sws_flags"
    // the scaler's and "probesize" the format's.
    const int task = conv.AddTask(clip, "x264_build=150");
    ASSERT_GE(task, 0) << conv.LastErrMsg();
    ASSERT_TRUE(conv.SetOutputFile(task, Folder().Path("settings.avi"),
                                   "vcodec=mpeg4\nacodec=mp2\nsws_flags=bilinear\nmpeg_quant=1\ng=7\n"
                                   "probesize=12345"));
    TFFmpeg* t = conv.Tasks().Get(task);
    for (const AVCodecContext* c : t->FOptions.avcodec_opts) EXPECT_EQ(c, nullptr);
    EXPECT_EQ(t->FOptions.avformat_opts, nullptr);
    EXPECT_EQ(t->FOptions.sws_opts, nullptr);
    TInputStreamCodec* video = nullptr;
    for (int i = 0; t->InputStream(0, i); ++i) {
        EXPECT_EQ(t->InputStream(0, i)->dec->priv_data, nullptr) << "input stream " << i;
        if (t->InputStream(0, i)->dec->codec_type == AVMEDIA_TYPE_VIDEO) video = t->InputStream(0, i);
    }
    ASSERT_NE(video, nullptr);
    TOutputStreamCodec* encoder = nullptr;
    for (int i = 0; t->OutputStream(0, i); ++i) {
        EXPECT_EQ(t->OutputStream(0, i)->enc->priv_data, nullptr) << "output stream " << i;
        if (t->OutputStream(0, i)->enc->codec_type == AVMEDIA_TYPE_VIDEO) encoder = t->OutputStream(0, i);
    }
    ASSERT_NE(encoder, nullptr);
    // The tables have a row for each file the task has, not for the most it could have.
    EXPECT_EQ(t->Finput_files.size(), 1u);
    EXPECT_EQ(t->Foutput_files.size(), 1u);

    int64_t decoder = -2, quant = -2, gop = -2, scaler = -2, probe = -2;
    bool restored = false;
    SetTranscodeTestHook([&](TCustomFFmpeg& e) {
        restored = video->dec->priv_data && encoder->enc->priv_data && e.FOptions.avcodec_opts[0] &&
                   e.FOptions.avformat_opts && e.FOptions.sws_opts;
        if (!restored) return;
        av::av_opt_get_int(video->dec->priv_data, "x264_build", 0, &decoder);
        av::av_opt_get_int(encoder->enc->priv_data, "mpeg_quant", 0, &quant);
        av::av_opt_get_int(e.FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO], "g", 0, &gop);
        av::av_opt_get_int(e.FOptions.sws_opts, "sws_flags", 0, &scaler);
        av::av_opt_get_int(e.FOptions.avformat_opts, "probesize", 0, &probe);
    });
    conv.Start(1);
    rec.WaitFinal();
    SetTranscodeTestHook(nullptr);
    EXPECT_TRUE(restored);
    EXPECT_EQ(decoder, 150);
    EXPECT_EQ(quant, 1);
    EXPECT_EQ(gop, 7);
    EXPECT_EQ(scaler, SWS_BILINEAR);
    EXPECT_EQ(probe, 12345);
}

double SecondsOf(const std::string& APath) {
    TAVProbe probe;
    if (!probe.LoadFile(APath)) return -1;
    return static_cast<double>(probe.FileStreamInfo().Duration) / 1e6;
}

TEST_F(TaskResourcesTest, WaitingTasksHoldNoOpenInputsAndConvertAsBefore) {
    const struct {
        const char* input;
        const char* output;
        bool join;
        double seconds, within;
    } cases[] = {
        {"",       "vcodec=mpeg4\nacodec=mp2",           false, 2.0, 0.15},
 // The seek lands on the key frame before the start.
        {"ss=0.5", "vcodec=mpeg4\nacodec=mp2",           false, 1.5, 0.4 },
        {"",       "vcodec=libx264\nacodec=mp2\nJoin=1", true,  4.0, 0.15},
    };
    std::vector<std::string> outputs;
    for (const auto& c : cases) {
        const int task = conv.AddTask(SourceClip(), c.input);
        ASSERT_GE(task, 0) << conv.LastErrMsg();
        if (c.join) {
            ASSERT_TRUE(conv.AddInputFile(task, SourceClip(), "")) << conv.LastErrMsg();
        }
        outputs.push_back(Folder().Path("waiting" + std::to_string(task) + (c.join ? ".mp4" : ".avi")));
        ASSERT_TRUE(conv.SetOutputFile(task, outputs.back(), c.output)) << conv.LastErrMsg();
    }
    for (int i = 0; i < conv.TasksCount(); ++i) {
        TFFmpeg* t = conv.Tasks().Get(i);
        EXPECT_EQ(t->OpenInputs(), 0) << "task " << i;
        // What the list shows of the file is still there.
        TAVProbe* probe = conv.GetTaskProbe(i, 0);
        ASSERT_NE(probe, nullptr);
        EXPECT_EQ(probe->StreamCount(), 2) << "task " << i;
        EXPECT_EQ(probe->FirstVideoStreamInfo().Width, 160) << "task " << i;
        EXPECT_NEAR(static_cast<double>(probe->FileStreamInfo().Duration) / 1e6, 2.0, 0.1) << "task " << i;
    }
    Run(2);
    for (size_t i = 0; i < outputs.size(); ++i)
        EXPECT_NEAR(SecondsOf(outputs[i]), cases[i].seconds, cases[i].within) << outputs[i];
}

TEST_F(TaskResourcesTest, AnInputGoneOrReplacedBeforeTheRunEndsItsTaskWithAClearError) {
    fixtures::ClipOptions o;
    o.seconds = 1.0;
    o.width = 160;
    o.height = 120;
    const std::string other = fixtures::MakeClip(Folder(), o, "other.mp4");
    const struct {
        const char* name;
        bool remove;
        const char* error;
    } cases[] = {
        {"removed.mp4",  true,  "removed.mp4: "                },
        {"replaced.mp4", false, "the file has changed since it"},
    };
    for (const auto& c : cases) {
        const std::string path = Folder().Path(c.name);
        std::filesystem::copy_file(SourceClip(), path, std::filesystem::copy_options::overwrite_existing);
        const int task = conv.AddTask(path);
        ASSERT_GE(task, 0) << conv.LastErrMsg();
        ASSERT_TRUE(conv.SetOutputFile(task, path + ".avi", "vcodec=mpeg4\nacodec=mp2")) << conv.LastErrMsg();
        if (c.remove)
            std::filesystem::remove(path);
        else
            std::filesystem::copy_file(other, path, std::filesystem::copy_options::overwrite_existing);
    }
    // A task whose input is still there converts as usual.
    AddTasks(1, "mpeg4", ".avi");
    conv.Start(2);
    rec.WaitFinal();
    for (const Record& r : rec.Records()) {
        if (r.info.TaskIndex < 0) continue;
        SCOPED_TRACE(r.info.TaskIndex);
        if (r.info.TaskIndex == 2) {
            EXPECT_TRUE(r.info.Finished) << r.info.ExceptionMsg;
            continue;
        }
        EXPECT_FALSE(r.info.Finished);
        EXPECT_TRUE(r.info.Exception);
        EXPECT_NE(r.info.ExceptionMsg.find(cases[r.info.TaskIndex].error), std::string::npos)
            << r.info.ExceptionMsg;
        // Nothing was written for it.
        EXPECT_FALSE(std::filesystem::exists(Folder().Path(cases[r.info.TaskIndex].name) + ".avi"));
    }
}

} // namespace

// What a conversion may do on disk: never write over one of its inputs,
// touch nothing before its run starts, clean up only what it made itself,
// take every path whole, and end with an error (leaving no fragment) when
// the disk refuses its bytes.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "ConverterTestSupport.h"
#include "media/UnicodeProtocol.h"

using namespace media;
using namespace convtest;
namespace fs = std::filesystem;

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The kind of thing at a path, without following a link: 'f' regular file,
// 'l' link, 'p' FIFO, 'c' character device, '-' nothing.
char KindAt(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return '-';
    if (S_ISLNK(st.st_mode)) return 'l';
    if (S_ISFIFO(st.st_mode)) return 'p';
    if (S_ISCHR(st.st_mode)) return 'c';
    return S_ISREG(st.st_mode) ? 'f' : '?';
}

// A fresh folder of its own under the converter tests' folder.
std::string SubFolder(const std::string& name) {
    const std::string dir = Folder().Path(name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir + "/";
}

class OutputSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        SourceClip();
        conv.TriggerEventInMainThread = false;
        rec.Attach(conv);
    }
    void TearDown() override { conv.ClearTasks(); }
    // Runs the list in this thread and returns the task's record.
    TTerminateInfo Run() {
        conv.Start(0);
        std::vector<Record> records = rec.Records();
        EXPECT_EQ(rec.Order(), (std::vector<int>{0, -1}));
        return records.empty() ? TTerminateInfo{} : records[0].info;
    }
    TestConverter conv;
    Recorder rec;
};

TEST_F(OutputSafetyTest, AnOutputThatIsAnInputOfItsTaskIsRefusedAndTheInputStaysWhole) {
    const std::string dir = SubFolder("same");
    const std::string input = dir + "in.mpg";
    fs::copy_file(SourceClip(), input);
    const std::string original = Bytes(input);
    fs::create_hard_link(input, dir + "hard.mpg");
    fs::create_symlink("in.mpg", dir + "link.mpg");
    const std::string names[] = {input, dir + "./in.mpg", dir + "/in.mpg", dir + "link.mpg",
                                 dir + "hard.mpg"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const int index = conv.AddTask(input);
        ASSERT_GE(index, 0) << conv.LastErrMsg();
        EXPECT_FALSE(conv.SetOutputFile(index, name, "vcodec=mpeg4"));
        EXPECT_EQ(conv.LastErrMsg(),
                  name + ": Output file is the same file as input file #0 (" + input + ")");
        conv.RemoveTask(index);
        EXPECT_TRUE(Bytes(input) == original);
    }

    // An input added after the output is caught when the run starts, before
    // any output is opened.
    const std::string other = dir + "other.mpg";
    fs::copy_file(SourceClip(), other);
    const std::string second = dir + "second.mpg";
    const int index = conv.AddTask(input);
    ASSERT_TRUE(conv.SetOutputFile(index, second, "vcodec=copy\nacodec=copy"));
    ASSERT_TRUE(conv.SetOutputFile(index, other, "vcodec=copy\nacodec=copy")) << conv.LastErrMsg();
    ASSERT_TRUE(conv.AddInputFile(index, dir + "./other.mpg", "")) << conv.LastErrMsg();
    const TTerminateInfo info = Run();
    EXPECT_TRUE(info.Exception);
    EXPECT_FALSE(info.Finished);
    EXPECT_EQ(info.ExceptionMsg,
              other + ": Output file is the same file as input file #1 (" + dir + "./other.mpg)");
    EXPECT_TRUE(Bytes(other) == original);
    EXPECT_TRUE(Bytes(input) == original);
    EXPECT_EQ(KindAt(second), '-');
}

TEST_F(OutputSafetyTest, NothingOnDiskChangesBeforeTheRunStarts) {
    const std::string dir = SubFolder("before");
    const std::string existing = dir + "existing.mpg";
    const std::string fresh = dir + "fresh.mpg";
    std::ofstream(existing) << "keep me";
    int index = conv.AddTask(SourceClip());
    ASSERT_TRUE(conv.SetOutputFile(index, existing, "vcodec=copy\nacodec=copy")) << conv.LastErrMsg();
    ASSERT_TRUE(conv.SetOutputFile(index, fresh, "vcodec=copy\nacodec=copy")) << conv.LastErrMsg();
    EXPECT_EQ(Bytes(existing), "keep me");
    EXPECT_EQ(KindAt(fresh), '-');
    conv.RemoveTask(index);
    EXPECT_EQ(Bytes(existing), "keep me");
    EXPECT_EQ(KindAt(fresh), '-');

    // The run itself replaces an existing file.
    index = conv.AddTask(SourceClip());
    ASSERT_TRUE(conv.SetOutputFile(index, existing, "vcodec=copy\nacodec=copy")) << conv.LastErrMsg();
    EXPECT_TRUE(Run().Finished);
    EXPECT_EQ(fixtures::DecodeFrameNumbers(existing).size(), 50u);
}

TEST_F(OutputSafetyTest, CleanUpRemovesOnlyAnEmptyFileThatTheRunCreated) {
    const std::string dir = SubFolder("cleanup");
    // A FIFO can only be opened for writing while someone reads it.
    std::vector<int> readers;
    struct Case {
        const char* what;
        std::function<bool(const std::string&)> make; // false: cannot be made here
        char kept;                                    // what stays at the name
    };
    const Case cases[] = {
        {"nothing: the run's own file", [](const std::string&) { return true; },                      '-'},
        {"an empty file",
         [](const std::string& p) {
             std::ofstream(p).flush();
             return true;
         },                                                                                           'f'},
        {"a link to an empty file",
         [](const std::string& p) {
             std::ofstream(p + ".target").flush();
             fs::create_symlink(fs::path(p).filename().string() + ".target", p);
             return true;
         },                                                                                           'l'},
        {"a FIFO",
         [&](const std::string& p) {
             if (::mkfifo(p.c_str(), 0600) != 0) return false;
             readers.push_back(::open(p.c_str(), O_RDONLY | O_NONBLOCK));
             return true;
         },                                                                                           'p'},
        {"a device",
         [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }, 'c'},
    };
    int n = 0;
    for (const Case& c : cases) {
        // Left before the run, and left by a run that fails before writing.
        for (bool started : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (started ? ", run" : ", not run"));
            const std::string out = dir + "out" + std::to_string(n++) + ".ts";
            if (!c.make(out)) {
                std::cout << "skipped (cannot be made here): " << c.what << "\n";
                continue;
            }
            const int index = conv.AddTask(SourceClip());
            ASSERT_TRUE(conv.SetOutputFile(index, out, "vn=1\nan=1")) << conv.LastErrMsg();
            if (started) {
                const TTerminateInfo info = Run();
                EXPECT_EQ(info.ExceptionMsg, "Output file #0 does not contain any stream");
                conv.ClearTasks();
                rec.Clear();
            } else {
                conv.RemoveTask(index);
            }
            EXPECT_EQ(KindAt(out), c.kept);
            if (c.kept == 'l') {
                EXPECT_EQ(KindAt(out + ".target"), 'f');
            }
        }
    }
    for (int fd : readers) ::close(fd);
}

TEST_F(OutputSafetyTest, LongPathsAreTakenWholeAndTooLongOnesFailWithTheSystemsText) {
    // Beyond 1023 bytes, inside the file name's last component; once plain,
    // once a name that goes to the libraries through our own file I/O when
    // the locale cannot hold it.
    struct Case {
        const char* what;
        std::string component;
    };
    std::string chinese;
    for (int i = 0; i < 80; ++i) chinese += "长";
    const Case cases[] = {
        {"plain", std::string(240, 'd')},
        {"chinese",       chinese             },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = SubFolder(std::string("long-") + c.what);
        for (int i = 0; i < 5; ++i) dir += c.component + "/";
        fs::create_directories(dir);
        const std::string out = dir + c.component.substr(0, 60) + ".mpg";
        ASSERT_GT(out.size(), 1100u);
        const int index = conv.AddTask(SourceClip());
        ASSERT_TRUE(conv.SetOutputFile(index, out, "vcodec=copy\nacodec=copy")) << conv.LastErrMsg();
        const TTerminateInfo info = Run();
        EXPECT_TRUE(info.Finished) << info.ExceptionMsg;
        EXPECT_EQ(fixtures::DecodeFrameNumbers(out).size(), 50u);
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{fs::path(out).filename().string()});
        conv.ClearTasks();
        rec.Clear();
    }

    std::string too_long = Folder().Dir();
    while (too_long.size() < 4200) too_long += std::string(200, 'x') + "/";
    too_long += "x.mpg";
    const int index = conv.AddTask(SourceClip());
    EXPECT_FALSE(conv.SetOutputFile(index, too_long, "vcodec=copy"));
    EXPECT_EQ(conv.LastErrMsg(), too_long + ": File name too long");
}

// Out of disk space in the middle of a run: a file-size limit on the
// converting process (EFBIG), and a device that is always full (ENOSPC; a
// node of its own, so that nothing can happen to the system's /dev/full).
TEST_F(OutputSafetyTest, ADiskThatRefusesBytesEndsTheTaskWithAnErrorAndNoFragment) {
    const std::string dir = SubFolder("full");
    const std::string limited = dir + "limited.mpg";
    const std::string full = dir + "full";
    struct Case {
        std::string output;
        std::vector<std::string> options;
        rlim_t limit;
        std::string text;
        char left;
    };
    std::vector<Case> cases = {
        {limited, {"vcodec=copy", "acodec=copy"}, 16384, limited + ": File too large", '-'},
    };
    if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        cases.push_back({
            full,
            {"f=mpeg", "vcodec=copy", "acodec=copy"},
            RLIM_INFINITY,
            full + ": No space left on device",
            'c'
        });
    else
        std::cout << "skipped (cannot make a device here): the full device\n";
    const std::string original = Bytes(SourceClip());
    ASSERT_GT(original.size(), 4 * 16384u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        std::vector<std::string> args = {SourceClip(), c.output};
        args.insert(args.end(), c.options.begin(), c.options.end());
        FfconvertProcess ffconvert(args, c.limit);
        EXPECT_TRUE(ffconvert.WaitForLine("terminate -1 "));
        EXPECT_EQ(ffconvert.Finish(), 1);
        EXPECT_EQ(Starting(ffconvert.Lines(), "terminate 0 "),
                  std::vector<std::string>{"terminate 0 0 1 " + c.text});
        EXPECT_EQ(KindAt(c.output), c.left);
        EXPECT_TRUE(Bytes(SourceClip()) == original);
    }
}

TEST_F(OutputSafetyTest, FfconvertRefusesToWriteOverItsInput) {
    const std::string dir = SubFolder("ffsame");
    const std::string input = dir + "same.mpg";
    fs::copy_file(SourceClip(), input);
    const std::string original = Bytes(input);
    FfconvertProcess ffconvert({input, input, "vcodec=mpeg4"});
    EXPECT_EQ(ffconvert.Finish(), 1);
    EXPECT_TRUE(Bytes(input) == original);
}

} // namespace

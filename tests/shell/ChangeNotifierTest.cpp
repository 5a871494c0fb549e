#include "shell/ChangeNotifier.h"
#include "ShellFixture.h"
#include "os/MainThread.h"

#include <cstdio>

using shell::ChangeNotifier;

namespace {
constexpr DWORD kNamesAndWrites =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

void Pump() {
    os::CheckSynchronize(5);
}
} // namespace

TEST_F(ShellTest, WatcherReportsEachChangeOnTheGuiThread) {
    MakeDir("w/deep/er");
    Make("w/deep/er/old.txt");
    int calls = 0;
    bool offThread = false;
    ChangeNotifier n([&] {
        ++calls;
        offThread |= !os::IsMainThread();
    });
    // Names only: each step is one burst of events, so one step cannot pass
    // on the tail of the one before.
    ASSERT_TRUE(n.SetDirectoryOptions(root_ + "/w", true,
                                      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME));
    const std::string w = root_ + "/w";
    struct Step {
        const char* what;
        std::function<void()> act;
    } steps[] = {
        {"create",             [&] { Make("w/a.txt"); }                                                          },
        {"rename",             [&] { std::rename((w + "/a.txt").c_str(), (w + "/b.txt").c_str()); }              },
        {"delete",             [&] { std::remove((w + "/b.txt").c_str()); }                                      },
        {"deep rename",        [&] { std::rename((w + "/deep/er/old.txt").c_str(), (w + "/deep/er/n").c_str()); }},
        {"new folder",         [&] { MakeDir("w/fresh"); }                                                       },
        {"inside the new one", [&] { Make("w/fresh/inner.txt"); }                                                },
    };
    for (const Step& s : steps) {
        int before = calls;
        s.act();
        EXPECT_TRUE(WaitUntil([&] { return calls > before; }, Pump)) << s.what;
    }
    EXPECT_FALSE(offThread);
}

TEST_F(ShellTest, WatcherReArmsOnNewSettingsAndStopsWithoutAChange) {
    MakeDir("one");
    MakeDir("two");
    int calls = 0;
    ChangeNotifier n([&] { ++calls; });
    EXPECT_FALSE(n.SetDirectoryOptions(root_ + "/missing", false, kNamesAndWrites));
    EXPECT_FALSE(n.Running()) << "a folder that cannot be watched starts nothing";
    ASSERT_TRUE(n.SetDirectoryOptions(root_ + "/one", false, kNamesAndWrites));
    // The folder itself may be a link; the worker watches where it leads.
    ASSERT_EQ(::symlink((root_ + "/two").c_str(), (root_ + "/to-two").c_str()), 0);
    ASSERT_TRUE(n.SetDirectoryOptions(root_ + "/to-two", false, kNamesAndWrites));
    EXPECT_TRUE(n.Running());
    Make("two/x");
    EXPECT_TRUE(WaitUntil([&] { return calls > 0; }, Pump)) << "the worker follows the new folder";

    // A change reported but not yet delivered is dropped by stopping.
    int seen = calls;
    Make("two/y");
    n.Stop();
    EXPECT_FALSE(n.Running());
    for (int i = 0; i < 20; ++i) Pump();
    EXPECT_EQ(calls, seen);

    // An idle worker ends on the stop signal alone.
    ChangeNotifier idle([] {});
    ASSERT_TRUE(idle.SetDirectoryOptions(root_ + "/one", true, kNamesAndWrites));
    idle.Stop();
    EXPECT_FALSE(idle.Running());
}

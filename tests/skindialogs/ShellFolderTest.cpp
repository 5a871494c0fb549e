// Item-ID lists, the shell folder object, its details, the change notifier and the path
// routines, over a temporary home.
#include "skin/shell/ShellFolder.h"
#include "ShellGuiFixture.h"
#include "gui/Bitmap.h"
#include "os/MainThread.h"
#include "skin/shell/FilePaths.h"
#include "skin/shell/ShellChangeNotifier.h"

#include <cstring>

using namespace skin;

namespace {

using ShellFolderTest = ShellGuiTest;

TItemIDList Parse(const std::string& path) {
    LPITEMIDLIST id = nullptr;
    DesktopIShellFolder()->ParseDisplayName(nullptr, path.c_str(), nullptr, &id, nullptr);
    return TItemIDList(id);
}

// A folder object for an absolute path, with every ancestor object on the way.
struct Chain {
    std::vector<std::unique_ptr<TbsShellFolder>> objects;
    TbsShellFolder* Last() const { return objects.back().get(); }
};
Chain ChainTo(const std::string& path) {
    Chain c;
    TItemIDList full = Parse(path);
    c.objects.push_back(FolderFromAbsoluteID(DesktopItemIDList().get()));
    int n = ItemIDCount(full.get());
    LPCITEMIDLIST id = full.get();
    for (int i = 0; i < n; ++i) {
        TItemIDList one(ILCloneFirst(id));
        TbsShellFolder* parent = c.objects.back().get();
        c.objects.push_back(std::make_unique<TbsShellFolder>(
            parent, one.get(), BindItemFolder(parent->ShellFolder().get(), one.get())));
        id = NextItemID(id);
    }
    return c;
}

TEST_F(ShellFolderTest, ItemIDListRoutines) {
    EXPECT_EQ(ItemIDListSize(nullptr), 0);
    TItemIDList desktop = DesktopItemIDList();
    EXPECT_EQ(ItemIDListSize(desktop.get()), 2);
    EXPECT_TRUE(ItemIDAncestors(desktop.get()).empty());

    MakeDir("home/a/b/c");
    TItemIDList abc = Parse(home_ + "/a/b/c");
    ASSERT_TRUE(abc);
    const int n = ItemIDCount(abc.get());
    std::vector<TItemIDList> anc = ItemIDAncestors(abc.get());
    ASSERT_EQ(static_cast<int>(anc.size()), n);
    EXPECT_EQ(ItemIDListSize(anc[0].get()), 2); // the desktop first
    for (int i = 1; i < n; ++i) EXPECT_EQ(ItemIDCount(anc[static_cast<size_t>(i)].get()), i);
    TItemIDList ab = Parse(home_ + "/a/b");
    EXPECT_TRUE(SameItemIDList(anc.back().get(), ab.get()));
    EXPECT_FALSE(SameItemIDList(abc.get(), ab.get()));

    TItemIDList copy = ConcatItemIDLists(nullptr, abc.get());
    ASSERT_EQ(ItemIDListSize(copy.get()), ItemIDListSize(abc.get()));
    EXPECT_EQ(std::memcmp(copy.get(), abc.get(), static_cast<size_t>(ItemIDListSize(abc.get()))), 0);
    StripLastItemID(copy.get());
    EXPECT_TRUE(SameItemIDList(copy.get(), ab.get()));
    TItemIDList last = CopyLastItemID(abc.get());
    EXPECT_EQ(ItemIDCount(last.get()), 1);
    TItemIDList back = ConcatItemIDLists(copy.get(), last.get());
    EXPECT_TRUE(SameItemIDList(back.get(), abc.get()));
    StripLastItemID(desktop.get()); // the empty list stays as it is
    StripLastItemID(nullptr);
    EXPECT_EQ(ItemIDListSize(desktop.get()), 2);
    TItemIDList zeros = AllocItemIDList(6);
    EXPECT_EQ(ItemIDListSize(zeros.get()), 2);
}

TEST_F(ShellFolderTest, FolderObjectNamesLevelsAndKinds) {
    MakeDir("home/视频/clips.ZIP");
    Make("home/视频/a.mp4");
    Chain c = ChainTo(home_ + "/视频");
    TbsShellFolder* videos = c.Last();
    EXPECT_EQ(videos->PathName(), home_ + "/视频");
    EXPECT_EQ(videos->FullObjectName(), home_ + "/视频");
    EXPECT_EQ(videos->DisplayName(), "视频");
    EXPECT_TRUE(videos->IsFolder());
    EXPECT_TRUE(videos->SubFolders());
    EXPECT_TRUE(videos->Properties() & fpFileSystem);
    EXPECT_TRUE(videos->Capabilities() & fcCanRename);
    EXPECT_EQ(c.objects[0]->Level(), 0);
    EXPECT_EQ(c.objects[1]->Level(), 1); // its parent was made from a root
    EXPECT_EQ(c.objects[2]->Level(), 2);
    EXPECT_EQ(c.objects[0]->PathName(), "桌面"); // a virtual folder's parse name is replaced

    // A folder named like an archive is a folder; a vanished item claims no attributes.
    Chain zip = ChainTo(home_ + "/视频/clips.ZIP");
    EXPECT_TRUE(zip.Last()->IsFolder());
    std::filesystem::remove(home_ + "/视频/clips.ZIP");
    EXPECT_EQ(zip.Last()->Capabilities(), 0);
    EXPECT_EQ(zip.Last()->Properties(), 0);
    EXPECT_FALSE(zip.Last()->SubFolders());
    EXPECT_FALSE(zip.Last()->IsFolder());
    // No parent folder: no name, not a made-up one.
    EXPECT_EQ(ItemDisplayName(nullptr, videos->RelativeID(), SHGDN_NORMAL), "");

    // Renaming keeps the absolute list in step with the parent's.
    ASSERT_TRUE(videos->Rename("影片"));
    EXPECT_TRUE(std::filesystem::is_directory(home_ + "/影片"));
    TItemIDList expected = ConcatItemIDLists(videos->Parent()->AbsoluteID(), videos->RelativeID());
    EXPECT_TRUE(SameItemIDList(videos->AbsoluteID(), expected.get()));
    EXPECT_EQ(videos->PathName(), home_ + "/影片");
    MakeDir("home/占用");
    try {
        videos->Rename("占用");
        ADD_FAILURE() << "renamed over another folder";
    } catch (const EInvalidPath& e) {
        EXPECT_STREQ(e.what(), "Rename to 占用 failed");
    }
    EXPECT_FALSE(c.objects[0]->Rename("x")); // the desktop cannot be renamed
}

TEST_F(ShellFolderTest, RootFromANameOrAPath) {
    TRoot text = "RFDESKTOP";
    std::unique_ptr<TbsShellFolder> root = RootFolderFromName("", text);
    EXPECT_EQ(ItemIDListSize(root->AbsoluteID()), 2);
    text = "rfMyComputer";
    root = RootFolderFromName("", text);
    EXPECT_EQ(root->DisplayName(), "计算机");
    text = home_;
    root = RootFolderFromName("rfDesktop", text);
    EXPECT_EQ(root->PathName(), home_);
    EXPECT_EQ(RootFolderIndex("rftemplates"), 22);
    EXPECT_EQ(RootFolderIndex("rfNothing"), -1);
    for (std::string bad : {std::string("/no/such/folder"), std::string(), std::string("rfPrinters")}) {
        SCOPED_TRACE(bad);
        text = bad;
        try {
            RootFolderFromName("rfDesktop", text);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidPath& e) {
            EXPECT_EQ(std::string(e.what()), "Error setting path: \"" + bad + "\"");
        }
        EXPECT_EQ(text, "rfDesktop");
    }
}

TEST_F(ShellFolderTest, DetailTextsAreLoadedOnceAndDirectionMarksDropped) {
    Make("home/v/a.mp4", std::string(1234, 'x'));
    Chain c = ChainTo(home_ + "/v/a.mp4");
    TbsShellFolder* file = c.Last();
    TbsShellFolder* folder = c.objects[c.objects.size() - 2].get();
    EXPECT_THROW(file->Details(1), std::logic_error);
    file->LoadColumnDetails(folder, nullptr, 4);
    ASSERT_EQ(file->DetailCount(), 4);
    EXPECT_FALSE(file->Details(1).empty()) << "size";
    EXPECT_FALSE(file->Details(3).empty()) << "modified";
    EXPECT_EQ(file->Details(4), ""); // a column the shell cannot describe
    std::filesystem::remove(home_ + "/v/a.mp4");
    file->LoadColumnDetails(folder, nullptr, 4); // cached: the file's loss is not seen
    EXPECT_EQ(file->DetailCount(), 4);
    EXPECT_FALSE(file->Details(1).empty());
    EXPECT_THROW(file->FindData(), EInvalidPath);

    STRRET r{};
    r.uType = STRRET_CSTR;
    std::strcpy(r.cStr, "?2024-01-02 ?10:00");
    EXPECT_EQ(StrRetToText(nullptr, r), "2024-01-02 10:00");
    std::strcpy(r.cStr, "?");
    EXPECT_EQ(StrRetToText(nullptr, r), "?");
}

TEST_F(ShellFolderTest, NotifierFiresOnTheGuiThreadAndStopsCleanly) {
    MakeDir("w");
    auto* n = new TbsShellChangeNotifier(gui::Application);
    EXPECT_FALSE(n->Running()); // no event: no worker
    n->SetRoot(root_ + "/w");
    n->SetWatchSubTree(false);
    int calls = 0;
    bool offThread = false;
    n->SetOnChange([&] {
        ++calls;
        offThread |= !os::IsMainThread();
    });
    EXPECT_TRUE(n->Running());
    Make("w/new.txt");
    EXPECT_TRUE(WaitUntil(
        [&] {
            RunUntilIdle();
            return calls > 0;
        },
        std::chrono::seconds(5), "the change"));
    EXPECT_FALSE(offThread);

    // A new folder re-arms the same worker.
    MakeDir("w2");
    n->SetRoot(root_ + "/w2");
    EXPECT_TRUE(n->Running());
    calls = 0;
    Make("w2/other.txt");
    EXPECT_TRUE(WaitUntil(
        [&] {
            RunUntilIdle();
            return calls > 0;
        },
        std::chrono::seconds(5), "the change in the new folder"));
    n->SetRoot(root_ + "/missing");
    EXPECT_FALSE(n->Running());
    delete n; // stops and joins the worker
    EXPECT_EQ(NotifyFiltersToFlags(nfSecurityChange | nfWriteChange), 0x110u);
}

TEST_F(ShellFolderTest, PathRoutines) {
    Make("f.txt");
    EXPECT_TRUE(FolderExists(root_));
    EXPECT_TRUE(FolderExists("/"));
    EXPECT_FALSE(FolderExists(root_ + "/f.txt"));
    EXPECT_FALSE(FolderExists(root_ + "/none"));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_EQ(AppendPathPart("/a/", "b"), "/a/b");
    EXPECT_EQ(AppendPathPart("/a", "b"), "/a/b");

    std::string p = "/one/two/";
    const char* steps[] = {"/.../two/", "/.../", "/", ""};
    for (const char* s : steps) {
        CutFirstFolder(p);
        EXPECT_EQ(p, s);
    }

    gui::TBitmap b;
    b.SetWidth(10);
    b.SetHeight(10);
    gui::TCanvas* c = b.Canvas();
    const std::string long_ = "/home/user/视频/2024/clip.mp4";
    EXPECT_EQ(ShortenPathToWidth(long_, c, 10000), long_);
    EXPECT_EQ(ShortenPathToWidth(long_, c, 1), "clip.mp4");
    std::string mid = ShortenPathToWidth(long_, c, c->TextWidth("/.../2024/clip.mp4"));
    EXPECT_EQ(mid, "/.../2024/clip.mp4");

    std::string label = VolumeLabelText("/");
    ASSERT_GE(label.size(), 2u);
    EXPECT_EQ(label.front(), '[');
    EXPECT_EQ(label.back(), ']');
    EXPECT_EQ(VolumeLabelText("/no/such/mount"), "[]");

    MakeDir("d/sub");
    std::string mount, folder, file;
    SplitFileSpec("*.mp4", root_ + "/d", mount, folder, file);
    EXPECT_EQ(folder, root_ + "/d");
    EXPECT_EQ(file, "*.mp4");
    EXPECT_FALSE(mount.empty());
    SplitFileSpec("sub", root_ + "/d", mount, folder, file);
    EXPECT_EQ(folder, root_ + "/d/sub");
    EXPECT_EQ(file, "");
    SplitFileSpec(root_ + "/f.txt", "/", mount, folder, file);
    EXPECT_EQ(folder, root_);
    EXPECT_EQ(file, "f.txt");
    SplitFileSpec("../f.txt", root_ + "/d", mount, folder, file);
    EXPECT_EQ(folder, root_);
    EXPECT_THROW(SplitFileSpec("missing", root_ + "/d", mount, folder, file), EInOutError);
    EXPECT_THROW(SplitFileSpec("/no/such/x.mp4", root_, mount, folder, file), EInOutError);
}

} // namespace

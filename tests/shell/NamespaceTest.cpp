#include "ShellFixture.h"
#include "gdi/Icon.h"
#include "gdi/IconImage.h"
#include "gdi/ImageList.h"
#include "shell/ShellIcons.h"
#include "shell/XdgFolders.h"

#include <algorithm>
#include <fcntl.h>

using V = std::vector<std::string>;

TEST_F(ShellTest, DesktopHoldsHomeAndComputerAndPathsRoundTrip) {
    std::shared_ptr<IShellFolder> desktop;
    ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    EXPECT_EQ(Names(*desktop, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS), (V{"主文件夹", "计算机"}));
    EXPECT_EQ(Names(*desktop, SHCONTF_FOLDERS, SHGDN_FORPARSING), (V{home_, "::{Computer}"}));
    EXPECT_TRUE(Names(*desktop, SHCONTF_NONFOLDERS).empty());

    std::shared_ptr<IShellFolder> computer = Bind("::{Computer}");
    ASSERT_TRUE(computer);
    V volumes = Names(*computer, SHCONTF_FOLDERS, SHGDN_FORPARSING);
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front(), "/");

    // A path under home goes through Home, any other through its volume;
    // both give back the same path.
    for (const std::string& path : {Make("home/docs/a.txt"), Make("elsewhere/b.txt")}) {
        LPITEMIDLIST raw = nullptr;
        ULONG attrs = SFGAO_FOLDER | SFGAO_FILESYSTEM;
        ASSERT_EQ(desktop->ParseDisplayName(nullptr, path.c_str(), nullptr, &raw, &attrs), S_OK) << path;
        Id id(raw);
        EXPECT_EQ(attrs, SFGAO_FILESYSTEM);
        char buf[4096];
        ASSERT_TRUE(SHGetPathFromIDListEx(id.get(), buf, sizeof buf, 0));
        EXPECT_EQ(std::string(buf), path);
        EXPECT_EQ(Name(*desktop, id.get(), SHGDN_FORPARSING), path);
        EXPECT_EQ(Name(*desktop, id.get(), SHGDN_NORMAL), os::ExtractFileName(path));
        EXPECT_FALSE(SHGetPathFromIDListEx(id.get(), buf, 4, 0)) << "a short buffer fails, never truncates";
    }
    LPITEMIDLIST raw = nullptr;
    EXPECT_TRUE(
        FAILED(desktop->ParseDisplayName(nullptr, (root_ + "/missing").c_str(), nullptr, &raw, nullptr)));
    EXPECT_EQ(raw, nullptr);
    ASSERT_EQ(desktop->ParseDisplayName(nullptr, "::{Computer}", nullptr, &raw, nullptr), S_OK);
    Id computerId(raw);
    char buf[64];
    EXPECT_FALSE(SHGetPathFromIDListEx(computerId.get(), buf, sizeof buf, 0))
        << "a virtual folder has no path";
}

TEST_F(ShellTest, FoldersFirstInNaturalOrderAndDotFilesOnRequest) {
    for (const char* f :
         {"t/b10.txt", "t/b2.txt", "t/B1.txt", "t/.hidden", "t/Zeta/x", "t/alpha/x", "t/.cfg/x"})
        Make(f);
    ASSERT_EQ(::symlink((root_ + "/t/alpha").c_str(), (root_ + "/t/link").c_str()), 0);
    ASSERT_EQ(::symlink((root_ + "/t/nowhere").c_str(), (root_ + "/t/dangling").c_str()), 0);
    auto t = Bind(root_ + "/t");
    ASSERT_TRUE(t);
    const DWORD all = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    EXPECT_EQ(Names(*t, all), (V{"alpha", "link", "Zeta", "B1.txt", "b2.txt", "b10.txt", "dangling"}));
    EXPECT_EQ(Names(*t, all | SHCONTF_INCLUDEHIDDEN),
              (V{".cfg", "alpha", "link", "Zeta", ".hidden", "B1.txt", "b2.txt", "b10.txt", "dangling"}));
    EXPECT_EQ(Names(*t, SHCONTF_FOLDERS), (V{"alpha", "link", "Zeta"}));
    EXPECT_EQ(Names(*t, SHCONTF_NONFOLDERS), (V{"B1.txt", "b2.txt", "b10.txt", "dangling"}));

    // CompareIDs agrees with the listing, by name and by the other columns.
    LPITEMIDLIST a = nullptr, b = nullptr;
    t->ParseDisplayName(nullptr, "b2.txt", nullptr, &a, nullptr);
    t->ParseDisplayName(nullptr, "Zeta", nullptr, &b, nullptr);
    Id ia(a), ib(b);
    EXPECT_EQ(HRESULT_CODE_SHORT(t->CompareIDs(0, ia.get(), ib.get())), 1) << "folders come first";
    EXPECT_EQ(HRESULT_CODE_SHORT(t->CompareIDs(0, ib.get(), ia.get())), -1);
    EXPECT_EQ(t->CompareIDs(0, ia.get(), ia.get()), S_OK);
    EXPECT_EQ(HRESULT_CODE_SHORT(t->CompareIDs(1, ib.get(), ia.get())), -1);

    Make("outside.txt");
    LPITEMIDLIST escaped = nullptr;
    EXPECT_EQ(t->ParseDisplayName(nullptr, "../outside.txt", nullptr, &escaped, nullptr), E_INVALIDARG)
        << "a relative name cannot leave its folder";
    EXPECT_EQ(escaped, nullptr);
}

TEST_F(ShellTest, AttributesOfFilesFoldersLinksAndVanishedItems) {
    MakeDir("a/withsub/sub");
    MakeDir("a/empty");
    MakeDir("a/onlyhidden/.git");
    Make("a/file.txt");
    Make("a/.dot");
    Make("a/locked.txt");
    ::chmod((root_ + "/a/locked.txt").c_str(), 0444);
    ::symlink((root_ + "/a/withsub").c_str(), (root_ + "/a/link").c_str());
    auto a = Bind(root_ + "/a");
    ASSERT_TRUE(a);
    const ULONG folder = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
    const ULONG edit = SFGAO_CANRENAME | SFGAO_CANDELETE;
    struct Case {
        const char* name;
        ULONG request, expect;
    } cases[] = {
        {"withsub",    SFGAO_HASSUBFOLDER | folder,  SFGAO_HASSUBFOLDER | folder           },
        {"empty",      SFGAO_HASSUBFOLDER | folder,  folder                                },
        {"onlyhidden", SFGAO_HASSUBFOLDER,           0                                     },
        {"file.txt",   folder | SFGAO_STREAM | edit, SFGAO_FILESYSTEM | SFGAO_STREAM | edit},
        {".dot",       SFGAO_HIDDEN,                 SFGAO_HIDDEN                          },
        {"link",       SFGAO_LINK | SFGAO_FOLDER,    SFGAO_LINK | SFGAO_FOLDER             },
        {"locked.txt", SFGAO_READONLY,               ::geteuid() == 0 ? 0u : SFGAO_READONLY},
    };
    for (const Case& c : cases) {
        LPITEMIDLIST raw = nullptr;
        ASSERT_EQ(a->ParseDisplayName(nullptr, c.name, nullptr, &raw, nullptr), S_OK) << c.name;
        Id id(raw);
        LPCITEMIDLIST ids[] = {id.get()};
        ULONG got = c.request;
        EXPECT_EQ(a->GetAttributesOf(1, ids, &got), S_OK) << c.name;
        EXPECT_EQ(got, c.expect) << c.name;
    }
    // A request of nothing answers the cheap attributes without naming them.
    LPITEMIDLIST raw = nullptr;
    a->ParseDisplayName(nullptr, "file.txt", nullptr, &raw, nullptr);
    Id file(raw);
    LPCITEMIDLIST ids[] = {file.get()};
    ULONG got = 0;
    a->GetAttributesOf(1, ids, &got);
    EXPECT_TRUE(got & SFGAO_FILESYSTEM);
    EXPECT_FALSE(got & SFGAO_FOLDER);
    // Gone after listing: the query fails and claims nothing.
    ::unlink((root_ + "/a/file.txt").c_str());
    got = SFGAO_FILESYSTEM | SFGAO_CANRENAME;
    EXPECT_TRUE(FAILED(a->GetAttributesOf(1, ids, &got)));
    EXPECT_EQ(got, 0u);
    SHELLDETAILS d;
    EXPECT_TRUE(FAILED(a->GetDetailsOf(file.get(), 1, &d)));
}

TEST_F(ShellTest, AFolderThatCannotBeReadHasNoChildren) {
    MakeDir("gone/sub");
    auto gone = Bind(root_ + "/gone");
    ASSERT_TRUE(gone);
    ::rmdir((root_ + "/gone/sub").c_str());
    ::rmdir((root_ + "/gone").c_str());
    std::unique_ptr<IEnumIDList> e;
    EXPECT_EQ(gone->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &e), S_FALSE);
    ASSERT_TRUE(e);
    LPITEMIDLIST id = nullptr;
    EXPECT_EQ(e->Next(1, &id, nullptr), S_FALSE);
}

TEST_F(ShellTest, RenameKeepsOtherItemsAndRejectsBadNames) {
    Make("r/old.txt", "old");
    Make("r/taken.txt", "taken");
    auto r = Bind(root_ + "/r");
    ASSERT_TRUE(r);
    LPITEMIDLIST raw = nullptr;
    r->ParseDisplayName(nullptr, "old.txt", nullptr, &raw, nullptr);
    Id old(raw);

    for (const char* bad : {"", "a/b", ".", ".."})
        EXPECT_TRUE(FAILED(r->SetNameOf(nullptr, old.get(), bad, SHGDN_NORMAL, nullptr))) << bad;
    LPITEMIDLIST out = nullptr;
    EXPECT_EQ(r->SetNameOf(nullptr, old.get(), "taken.txt", SHGDN_NORMAL, &out),
              HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(out, nullptr);
    std::ifstream taken(root_ + "/r/taken.txt");
    std::string content;
    taken >> content;
    EXPECT_EQ(content, "taken");

    ASSERT_EQ(r->SetNameOf(nullptr, old.get(), "新名字.txt", SHGDN_NORMAL, &out), S_OK);
    Id renamed(out);
    EXPECT_EQ(Name(*r, renamed.get(), SHGDN_INFOLDER), "新名字.txt");
    EXPECT_TRUE(os::FileExists(root_ + "/r/新名字.txt"));
    EXPECT_FALSE(os::FileExists(root_ + "/r/old.txt"));
}

TEST_F(ShellTest, DetailsColumnsFromStat) {
    Make("d/clip.avi", std::string(1500, 'x'));
    Make("d/README", "");
    MakeDir("d/sub");
    auto d = Bind(root_ + "/d");
    ASSERT_TRUE(d);
    V headings;
    for (UINT c = 0; c < 4; ++c) {
        SHELLDETAILS h;
        ASSERT_EQ(d->GetDetailsOf(nullptr, c, &h), S_OK);
        headings.push_back(StrRetText(h.str, nullptr));
    }
    EXPECT_EQ(headings, (V{"名称", "大小", "类型", "修改日期"}));
    SHELLDETAILS h;
    EXPECT_TRUE(FAILED(d->GetDetailsOf(nullptr, 4, &h)));

    struct Case {
        const char* name;
        V texts; // size, type
    } cases[] = {
        {"clip.avi", {"2 KB", "AVI 文件"}},
        {"README",   {"0 KB", "文件"}    },
        {"sub",      {"", "文件夹"}     },
    };
    for (const Case& c : cases) {
        LPITEMIDLIST raw = nullptr;
        d->ParseDisplayName(nullptr, c.name, nullptr, &raw, nullptr);
        Id id(raw);
        V got;
        for (UINT col = 0; col < 4; ++col) {
            SHELLDETAILS det;
            ASSERT_EQ(d->GetDetailsOf(id.get(), col, &det), S_OK);
            got.push_back(StrRetText(det.str, id.get()));
        }
        EXPECT_EQ(got[0], c.name);
        EXPECT_EQ((V{got[1], got[2]}), c.texts) << c.name;
        EXPECT_EQ(got[3].size(), 16u) << "YYYY-MM-DD hh:mm: " << got[3];
    }
}

TEST_F(ShellTest, SpecialRootsFollowTheUserDirs) {
    MakeDir("home/桌面");
    MakeDir("home/Docs");
    MakeDir("home/.config/autostart");
    MakeDir("home/.local/share/Trash/files");
    MakeDir("home/.local/share/fonts");
    Make("home/.config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                        "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n"
                                        "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
                                        "XDG_TEMPLATES_DIR=\"$HOME/NoSuchFolder\"\n");
    struct Case {
        int csidl;
        std::string path; // "" : the root fails
    } cases[] = {
        {CSIDL_DESKTOPDIRECTORY, home_ + "/桌面"                  },
        {CSIDL_PERSONAL,         home_ + "/Docs"                    },
        {CSIDL_TEMPLATES,        ""                                 }, // named but missing
        {CSIDL_APPDATA,          home_ + "/.config"                 },
        {CSIDL_STARTUP,          home_ + "/.config/autostart"       },
        {CSIDL_BITBUCKET,        home_ + "/.local/share/Trash/files"},
        {CSIDL_FONTS,            home_ + "/.local/share/fonts"      },
        {CSIDL_PRINTERS,         ""                                 },
        {CSIDL_NETWORK,          ""                                 },
        {CSIDL_CONTROLS,         ""                                 },
        {CSIDL_RECENT,           ""                                 },
    };
    for (const Case& c : cases) {
        LPITEMIDLIST raw = nullptr;
        HRESULT hr = SHGetSpecialFolderLocation(nullptr, c.csidl, &raw);
        Id id(raw);
        if (c.path.empty()) {
            EXPECT_TRUE(FAILED(hr)) << c.csidl;
            EXPECT_EQ(raw, nullptr);
            continue;
        }
        ASSERT_EQ(hr, S_OK) << c.csidl;
        char buf[4096];
        ASSERT_TRUE(SHGetPathFromIDListEx(id.get(), buf, sizeof buf, 0));
        EXPECT_EQ(std::string(buf), c.path) << c.csidl;
    }
    // XDG_CONFIG_HOME moves the file and the config root with it.
    MakeDir("cfg");
    Make("cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + root_ + "/cfg\"\n");
    ::setenv("XDG_CONFIG_HOME", (root_ + "/cfg").c_str(), 1);
    EXPECT_EQ(shell::XdgFolders::SpecialFolder(CSIDL_PERSONAL), root_ + "/cfg");
    EXPECT_EQ(shell::XdgFolders::SpecialFolder(CSIDL_APPDATA), root_ + "/cfg");
    EXPECT_EQ(shell::XdgFolders::UserDir("DESKTOP"), home_ + "/Desktop") << "unset desktop";

    LPITEMIDLIST raw = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw), S_OK);
    EXPECT_TRUE(ILIsEmpty(raw));
    ILFree(raw);
}

TEST_F(ShellTest, IconsByKindInBothSizes) {
    MakeDir("i/sub");
    Make("i/f.txt");
    struct Case {
        std::string path;
        UINT flags;
        int index;
    } cases[] = {
        {root_ + "/i/f.txt", 0,               ICON_FILE       },
        {root_ + "/i/sub",   0,               ICON_FOLDER     },
        {root_ + "/i/sub",   SHGFI_OPENICON,  ICON_FOLDER_OPEN},
        {home_,              0,               ICON_HOME       },
        {"/",                SHGFI_SMALLICON, ICON_DRIVE_FIXED},
    };
    for (const Case& c : cases) {
        SHFILEINFO info;
        uintptr_t list = SHGetFileInfo(c.path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | c.flags);
        ASSERT_NE(list, 0u) << c.path;
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(list), shell::SystemImageList(!(c.flags & SHGFI_SMALLICON)));
        EXPECT_EQ(info.iIcon, c.index) << c.path;
    }
    SHFILEINFO info;
    EXPECT_EQ(SHGetFileInfo((root_ + "/missing").c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u);
    // Every picture is drawn and differs from the others.
    for (bool large : {false, true}) {
        HIMAGELIST l = shell::SystemImageList(large);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(l, &cx, &cy);
        EXPECT_EQ(cx, large ? 32 : 16);
        ASSERT_EQ(ImageList_GetImageCount(l), ICON_COUNT);
        std::vector<std::vector<uint32_t>> seen;
        for (int i = 0; i < ICON_COUNT; ++i) {
            HICON icon = ImageList_GetIcon(l, i, 0);
            gdi::IconImage img = gdi::IconImageOf(icon, 0, 0);
            DestroyIcon(icon);
            EXPECT_TRUE(std::any_of(img.color.begin(), img.color.end(), [](uint32_t p) {
                return (p >> 24) == 255;
            })) << i;
            EXPECT_EQ(std::find(seen.begin(), seen.end(), img.color), seen.end()) << i;
            seen.push_back(img.color);
        }
    }
}

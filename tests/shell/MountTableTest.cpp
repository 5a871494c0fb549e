#include "shell/MountTable.h"
#include "ShellFixture.h"
#include "shell/ShellIcons.h"

using shell::MountTable;
using shell::Volume;

TEST_F(ShellTest, DrivesAreMountPointsWithKindLabelAndCase) {
    // A fake sysfs: sdb is removable, its partition sdb1 points into it.
    MakeDir("sys/sdb/sdb1");
    Make("sys/sdb/removable", "1\n");
    Make("sys/sdb/sdb1/partition", "1\n");
    Make("sys/sda/removable", "0\n");
    ::symlink((root_ + "/sys/sdb/sdb1").c_str(), (root_ + "/sys/sdb1").c_str());
    Make("dev/sdb1");
    Make("dev/sda2");
    MakeDir("labels");
    ::symlink((root_ + "/dev/sdb1").c_str(), (root_ + "/labels/MY\\x20STICK").c_str());
    MountTable::Sources src;
    src.sysBlock = root_ + "/sys";
    src.byLabel = root_ + "/labels";
    src.checkMountPoints = false;
    std::string dev = root_ + "/dev/";
    std::string table = dev +
                        "sda2 / ext4 rw,relatime 0 0\n"
                        "proc /proc proc rw 0 0\n"
                        "sysfs /sys sysfs rw 0 0\n"
                        "tmpfs /run tmpfs rw 0 0\n"
                        "tmpfs /dev/shm tmpfs rw 0 0\n" +
                        dev +
                        "sdb1 /media/my\\040stick vfat rw,uid=1000 0 0\n"
                        "/dev/sr0 /media/cd iso9660 ro 0 0\n"
                        "server:/export /mnt/nfs nfs4 rw 0 0\n"
                        "//nas/share /mnt/share cifs rw 0 0\n"
                        "tmpfs /tmp tmpfs rw 0 0\n"
                        "garbage\n";
    std::vector<Volume> v = MountTable::Parse(table, src);
    struct Row {
        const char* mountPoint;
        UINT kind;
        const char* label;
        bool caseSensitive, readOnly;
    } expect[] = {
        {"/",               DRIVE_FIXED,     "",         true,  false},
        {"/media/cd",       DRIVE_CDROM,     "",         false, true },
        {"/media/my stick", DRIVE_REMOVABLE, "MY STICK", false, false},
        {"/mnt/nfs",        DRIVE_REMOTE,    "",         true,  false},
        {"/mnt/share",      DRIVE_REMOTE,    "",         false, false},
        {"/tmp",            DRIVE_RAMDISK,   "",         true,  false},
    };
    ASSERT_EQ(v.size(), std::size(expect));
    for (size_t i = 0; i < v.size(); ++i) {
        EXPECT_EQ(v[i].mountPoint, expect[i].mountPoint);
        EXPECT_EQ(v[i].kind, expect[i].kind) << v[i].mountPoint;
        EXPECT_EQ(v[i].label, expect[i].label) << v[i].mountPoint;
        EXPECT_EQ(v[i].caseSensitive, expect[i].caseSensitive) << v[i].mountPoint;
        EXPECT_EQ(v[i].readOnly, expect[i].readOnly) << v[i].mountPoint;
    }
    EXPECT_EQ(v[3].source, "server:/export") << "the remote name is the mount source";

    // The Win32-shaped queries read the same table.
    Make("mounts", table);
    src.mounts = root_ + "/mounts";
    MountTable::SetSources(src);
    EXPECT_EQ(GetDriveType("/mnt/share/"), DRIVE_REMOTE);
    EXPECT_EQ(GetDriveType("/nowhere"), DRIVE_NO_ROOT_DIR);
    char label[64], fs[16], remote[64];
    DWORD flags = 0, size = sizeof remote;
    ASSERT_TRUE(GetVolumeInformation("/media/my stick", label, sizeof label, nullptr, nullptr, &flags, fs,
                                     sizeof fs));
    EXPECT_STREQ(label, "MY STICK");
    EXPECT_STREQ(fs, "vfat");
    EXPECT_EQ(flags & FILE_CASE_SENSITIVE_SEARCH, 0u);
    EXPECT_EQ(WNetGetConnection("/mnt/share", remote, &size), NO_ERROR);
    EXPECT_STREQ(remote, "//nas/share");
    size = 4;
    EXPECT_EQ(WNetGetConnection("/mnt/share", remote, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(WNetGetConnection("/", remote, &size), ERROR_NOT_CONNECTED);
    EXPECT_EQ(MountTable::VolumeOf("/mnt/nfs/deep/file").mountPoint, "/mnt/nfs");
    EXPECT_EQ(MountTable::VolumeOf("/mnt/nfsx").mountPoint, "/");

    // Computer lists the volumes from the table alone: the network mount
    // points here do not even exist, and nothing stats or reads them.
    auto computer = Bind("::{Computer}");
    ASSERT_TRUE(computer);
    EXPECT_EQ(
        Names(*computer, SHCONTF_FOLDERS, SHGDN_FORPARSING),
        (std::vector<std::string>{"/", "/media/cd", "/media/my stick", "/mnt/nfs", "/mnt/share", "/tmp"}));
    EXPECT_EQ(Names(*computer, SHCONTF_FOLDERS)[2], "MY STICK") << "a labelled volume shows its label";
    LPITEMIDLIST raw = nullptr;
    std::unique_ptr<IEnumIDList> e;
    computer->EnumObjects(nullptr, SHCONTF_FOLDERS, &e);
    e->Skip(3);
    ASSERT_EQ(e->Next(1, &raw, nullptr), S_OK);
    Id nfs(raw);
    LPCITEMIDLIST ids[] = {nfs.get()};
    ULONG attrs = SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_REMOVABLE;
    EXPECT_EQ(computer->GetAttributesOf(1, ids, &attrs), S_OK);
    EXPECT_EQ(attrs, SFGAO_HASSUBFOLDER | SFGAO_FOLDER);
    SHFILEINFO info;
    std::unique_ptr<ITEMIDLIST, IdDeleter> full(
        ILCombine(Id(shell::MakeItemId(shell::ItemKind::Computer, "")).get(), nfs.get()));
    EXPECT_NE(SHGetFileInfo(full.get(), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX), 0u);
    EXPECT_EQ(info.iIcon, ICON_DRIVE_REMOTE);
    MountTable::SetSources(MountTable::DefaultSources());
}

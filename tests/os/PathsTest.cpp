#include "os/Paths.h"

#include <gtest/gtest.h>

using namespace os;

TEST(Paths, NamePartsAndTheProgramFolder) {
    EXPECT_EQ(ExtractFilePath("/a/b/c.mp4"), "/a/b/");
    EXPECT_EQ(ExtractFileName("/a/b/c.mp4"), "c.mp4");
    EXPECT_EQ(ExtractFileExt("/a/b.d/c"), "");
    EXPECT_EQ(ExtractFileExt("/a/b/c.tar.gz"), ".gz");
    EXPECT_EQ(ChangeFileExt("/a/b/c.avi", ".mp4"), "/a/b/c.mp4");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/x"), "/x/");
    std::string exe = ExeFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), '/');
    EXPECT_TRUE(FileExists(exe + "os_tests"));
    EXPECT_EQ(FileSize("/nonexistent/file"), -1);
}

#include "gui/FileStream.h"
#include "gui/StringStream.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace gui;

TEST(Streams, MemoryStreamReadsWritesAndRaisesOnShortReads) {
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Size(), 5);
    EXPECT_EQ(m.Position(), 5);
    m.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 4);
    EXPECT_STREQ(buf, "ello");
    m.SetPosition(3);
    try {
        m.ReadBuffer(buf, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    m.Seek(-1, TSeekOrigin::soEnd);
    m.WriteBuffer("!?", 2); // writing past the end grows the stream
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m.Memory()), 6), "hell!?");
    m.SetSize(2);
    EXPECT_EQ(m.Position(), 2);
}

TEST(Streams, CopyFromTakesACountOrTheWholeSource) {
    TStringStream src("abcdef");
    TStringStream dst;
    src.SetPosition(2);
    EXPECT_EQ(dst.CopyFrom(src, 3), 3);
    EXPECT_EQ(dst.DataString(), "cde");
    EXPECT_EQ(dst.CopyFrom(src, 0), 6); // 0: everything, from the start
    EXPECT_EQ(dst.DataString(), "cdeabcdef");
    EXPECT_THROW(dst.CopyFrom(src, 1), EReadError); // src is at its end
}

TEST(Streams, FileStreamModesAndErrors) {
    TempDir dir;
    std::string name = dir / "视频.bin";
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("0123456789", 10);
        f.SetSize(8);
        EXPECT_EQ(f.Size(), 8);
    }
    {
        TFileStream f(name, fmOpenReadWrite);
        f.Seek(-2, TSeekOrigin::soEnd);
        f.WriteBuffer("AB", 2);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(m.Memory()), 8), "012345AB");
    {
        TFileStream f(name, fmOpenRead);
        char c;
        f.Seek(0, TSeekOrigin::soEnd);
        EXPECT_THROW(f.ReadBuffer(&c, 1), EReadError);
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError); // opened for reading only
    }

    std::string missing = dir / "missing.bin";
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(dir.path.string(), fmOpenRead), EFOpenError); // a folder
    std::string noFolder = dir / "no/such/file.bin";
    try {
        TFileStream f(noFolder, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + noFolder + "\". No such file or directory");
    }
}

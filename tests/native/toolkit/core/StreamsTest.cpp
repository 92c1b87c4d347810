// Memory and file streams.
#include "TestClasses.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

TEST(MemoryStream, GrowsOnWriteAndReadsBack) {
    TMemoryStream s;
    s.WriteInt32LE(-2);
    s.WriteBuffer("abc", 3);
    EXPECT_EQ(s.Size(), 7);
    EXPECT_EQ(s.Bytes()[0], 0xFE);
    EXPECT_EQ(s.Bytes()[3], 0xFF);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadInt32LE(), -2);
    char buf[4] = {};
    EXPECT_EQ(s.Read(buf, 4), 3); // only what is left
    EXPECT_STREQ(buf, "abc");
    EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
    s.Seek(-1, soEnd);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_THROW(s.Seek(-10, soCurrent), EStreamError);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
}

TEST(MemoryStream, WritingPastTheEndZeroFillsTheGap) {
    TMemoryStream s;
    s.SetPosition(3);
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0, 0, 0, 'x'}));
}

TEST(FileStream, CreatesWritesReopensAndCopies) {
    const auto path = std::filesystem::temp_directory_path() / "tw_core_stream_test.bin";
    {
        TFileStream f(path.string(), fmCreate);
        f.WriteBuffer("hello world", 11);
        EXPECT_EQ(f.Size(), 11);
        f.SetSize(5);
        EXPECT_EQ(f.Size(), 5);
    }
    {
        TFileStream f(path.string(), fmOpenRead);
        TMemoryStream m;
        m.CopyFrom(f, 0);
        EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "hello");
        EXPECT_EQ(f.Write("x", 1), 0); // opened for reading only
    }
    std::filesystem::remove(path);
}

TEST(FileStream, AMissingFileNamesItselfInTheError) {
    const auto path = std::filesystem::temp_directory_path() / "tw_no_such_dir" / "missing.bin";
    try {
        TFileStream f(path.string(), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("Cannot open file \"" + path.string() + "\""), std::string::npos);
    }
    EXPECT_THROW(TFileStream(path.string(), fmCreate), EFCreateError);
}

TEST(StringList, SavesAndLoadsThroughFiles) {
    const auto path = std::filesystem::temp_directory_path() / "tw_core_lines.txt";
    TStringList out;
    out.SetText("first\nsecond\n");
    out.SaveToFile(path.string());
    TStringList in;
    in.LoadFromFile(path.string());
    EXPECT_TRUE(in.Equals(out));
    std::filesystem::remove(path);
}

} // namespace

// The folder line reader: which bytes become which lines, where the text ends,
// long lines in pieces, the 64 KiB block boundary, and read failures.
#include "folder_input/folder_line_reader.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/case_name.hpp"
#include "tests/support/fake_platform.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

constexpr std::size_t MAX_LINE = LINE_CAPACITY - 1;  // 32,766 bytes

struct Piece {
    std::string bytes;
    bool continues_line;
    bool at_end_after;  // folder_at_end as the call that delivered it returned
};

struct Reading {
    std::vector<Piece> pieces;
    bool failed = false;
};

FolderStream stream;
char line_buffer[LINE_BUFFER_SIZE];

// Reads the whole folder the way the conversion does.
Reading read_all(const std::string& path, const FileSystem& files = system_files())
{
    Reading reading;
    EXPECT_TRUE(open_folder(stream, path.c_str(), files));
    FolderLine line{};
    while (!folder_at_end(stream)) {
        if (read_folder_line(stream, line_buffer, LINE_CAPACITY, line)) {
            EXPECT_EQ(line_buffer[line.length], '\0');
            reading.pieces.push_back({std::string(line_buffer, line.length),
                                      line.continues_line, folder_at_end(stream)});
        }
    }
    reading.failed = folder_read_failed(stream);
    close_folder(stream);
    return reading;
}

std::vector<std::string> bytes_of(const Reading& reading)
{
    std::vector<std::string> lines;
    for (const Piece& piece : reading.pieces) {
        lines.push_back(piece.bytes);
    }
    return lines;
}

struct LineCase {
    const char* name;
    std::string folder;
    std::vector<std::string> lines;
    bool last_line_ends_text;  // the call that delivers the last line sets the end
};

class FolderLines : public testing::TestWithParam<LineCase> {};

TEST_P(FolderLines, DeliversTheFolderTextAsLines)
{
    TempDir dir;
    write_file(dir / "folder", GetParam().folder);
    const Reading reading = read_all(dir / "folder");
    EXPECT_EQ(bytes_of(reading), GetParam().lines);
    EXPECT_FALSE(reading.failed);
    for (std::size_t i = 0; i < reading.pieces.size(); ++i) {
        const bool last = i + 1 == reading.pieces.size();
        EXPECT_EQ(reading.pieces[i].at_end_after, last && GetParam().last_line_ends_text)
            << "line " << i;
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderLines,
    testing::Values(
        LineCase{"CrLfLineEnds", "x\r\ny\r\n", {"x\n", "y\n"}, false},
        LineCase{"LoneCrInsideALine", "ab\rcd\n", {"abcd\n"}, false},
        LineCase{"CrCrLf", "ab\r\r\n", {"ab\n"}, false},
        LineCase{"EmptyCrLfLines", "\r\n\r\n", {"\n", "\n"}, false},
        LineCase{"CrAfterTheLastLineFeed", "x\n\r", {"x\n"}, false},
        LineCase{"NothingButCrs", std::string(70000, '\r'), {}, false},
        LineCase{"EmptyFile", "", {}, false},
        LineCase{"EndMarkerFirst", "\x1a" "abc\n", {}, false},
        LineCase{"EndMarkerInsideALine", "ab\ncd\x1a" "ef\n", {"ab\n", "cd"}, true},
        LineCase{"CrBeforeTheEndMarker", "ab\r\x1a" "cd\n", {"ab"}, true},
        LineCase{"EndMarkerAfterALineEnd", "ab\r\n\x1a", {"ab\n"}, false},
        LineCase{"LastLineWithoutLineFeed", "ab\ncd", {"ab\n", "cd"}, true},
        LineCase{"NulBytesAreData", "a\0b\n\0\n"s, {"a\0b\n"s, "\0\n"s}, false},
        LineCase{"OtherBytesPassUnchanged", "\t\x01\x7f\x80\xff\x1b\n", {"\t\x01\x7f\x80\xff\x1b\n"}, false},
        LineCase{"LineOfExactlyTheLimitWithItsLineFeed",
                 std::string(MAX_LINE - 1, 'a') + "\n", {std::string(MAX_LINE - 1, 'a') + "\n"}, false},
        LineCase{"FileOfExactlyTheLimitWithoutLineFeed",
                 std::string(MAX_LINE, 'a'), {std::string(MAX_LINE, 'a')}, false},
        LineCase{"LimitCountsBytesAfterCrRemoval",
                 [] { std::string s; for (std::size_t i = 0; i + 1 < MAX_LINE; ++i) s += "a\r"; return s + "\n"; }(),
                 {std::string(MAX_LINE - 1, 'a') + "\n"}, false}),
    case_name<LineCase>);

TEST(FolderLongLines, ArriveInPiecesAndOnlyLaterPiecesContinueALine)
{
    TempDir dir;
    const std::string first(MAX_LINE, 'a');
    const std::string second(MAX_LINE, 'b');
    const std::string third(100, 'c');
    write_file(dir / "folder", "From x\n" + first + second + third + "\n" + first + "\nz\n");
    const Reading reading = read_all(dir / "folder");
    ASSERT_EQ(reading.pieces.size(), 7U);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"From x\n", false}, {first, false}, {second, true}, {third + "\n", true},
        {first, false},      {"\n", true},   {"z\n", false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(reading.pieces[i].bytes, expected[i].first) << "piece " << i;
        EXPECT_EQ(reading.pieces[i].continues_line, expected[i].second) << "piece " << i;
    }
}

TEST(FolderBlocks, CrAsTheLastByteOfABlockIsRemovedAndTheLineGoesOn)
{
    TempDir dir;
    std::string folder;
    std::vector<std::string> expected;
    while (folder.size() + 100 <= FOLDER_BLOCK_SIZE - 36) {
        folder += std::string(98, 'x') + "\r\n";
        expected.push_back(std::string(98, 'x') + "\n");
    }
    // 35 bytes of y, then the CR as the block's last byte, the LF in the next.
    const std::string tail(FOLDER_BLOCK_SIZE - 1 - folder.size(), 'y');
    folder += tail + "\r";
    ASSERT_EQ(folder.size(), FOLDER_BLOCK_SIZE);
    folder += "\nlast\r\n";
    expected.push_back(tail + "\n");
    expected.push_back("last\n");
    write_file(dir / "folder", folder);
    EXPECT_EQ(bytes_of(read_all(dir / "folder")), expected);
}

TEST(FolderBlocks, EndMarkerInALaterBlockEndsTheTextThere)
{
    TempDir dir;
    const std::string line = std::string(1000, 'q') + "\r\n";
    std::string folder;
    for (int i = 0; i < 100; ++i) {  // about 100 KiB: the marker is in the second block
        folder += line;
    }
    write_file(dir / "folder", folder + "tail\x1a" "after the marker\n" + folder);
    const Reading reading = read_all(dir / "folder");
    ASSERT_EQ(reading.pieces.size(), 101U);
    EXPECT_EQ(reading.pieces[99].bytes, std::string(1000, 'q') + "\n");
    EXPECT_EQ(reading.pieces[100].bytes, "tail");
    EXPECT_TRUE(reading.pieces[100].at_end_after);
}

TEST(FolderBlocks, CrsAcrossManyBlocksNeverEndTheText)
{
    TempDir dir;
    write_file(dir / "folder", "a\n" + std::string(3 * FOLDER_BLOCK_SIZE, '\r') + "b\n");
    EXPECT_EQ(bytes_of(read_all(dir / "folder")), (std::vector<std::string>{"a\n", "b\n"}));
}

TEST(FolderReadFailure, EndsTheTextAndLosesTheLineInProgress)
{
    TempDir dir;
    // Line 3 crosses into the second block, whose read fails.
    const std::string text = std::string(32000, 'a') + "\n";
    write_file(dir / "folder", text + text + std::string(2000, 'b') + "\nlast\n");
    fake::reset();
    fake::file_faults.fail_read_at = 2;
    const Reading reading = read_all(dir / "folder", fake::files());
    EXPECT_EQ(bytes_of(reading), (std::vector<std::string>{text, text}));
    EXPECT_TRUE(reading.failed);

    // Once failed, the stream gives nothing more and stays at its end.
    fake::reset();
    fake::file_faults.fail_read_at = 1;
    FolderLine line{};
    ASSERT_TRUE(open_folder(stream, (dir / "folder").c_str(), fake::files()));
    EXPECT_FALSE(read_folder_line(stream, line_buffer, LINE_CAPACITY, line));
    EXPECT_TRUE(folder_at_end(stream));
    EXPECT_FALSE(read_folder_line(stream, line_buffer, LINE_CAPACITY, line));
    EXPECT_EQ(fake::file_faults.reads, 1);
    close_folder(stream);
}

TEST(FolderEnd, LeavesTheBufferHoldingThePreviousLine)
{
    TempDir dir;
    write_file(dir / "folder", "only\n");
    FolderLine line{};
    ASSERT_TRUE(open_folder(stream, (dir / "folder").c_str(), system_files()));
    ASSERT_TRUE(read_folder_line(stream, line_buffer, LINE_CAPACITY, line));
    EXPECT_FALSE(folder_at_end(stream));
    EXPECT_FALSE(read_folder_line(stream, line_buffer, LINE_CAPACITY, line));
    EXPECT_TRUE(folder_at_end(stream));
    EXPECT_STREQ(line_buffer, "only\n");
    close_folder(stream);
}

TEST(FolderOpen, RefusesMissingFilesAndDirectories)
{
    TempDir dir;
    EXPECT_FALSE(open_folder(stream, (dir / "missing").c_str(), system_files()));
    close_folder(stream);  // nothing open: nothing happens
    EXPECT_FALSE(open_folder(stream, dir.path().c_str(), system_files()));
    EXPECT_FALSE(open_folder(stream, "", system_files()));
}

}  // namespace

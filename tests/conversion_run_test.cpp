// The conversion run in process, on a clock and files that the tests control:
// exact names, the wait between them, never overwriting, and every failure
// ending in its own status with no incomplete POP file left.
#include "app/conversion_run.hpp"

#include <string>
#include <vector>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/case_name.hpp"
#include "tests/support/fake_platform.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

const std::string BANNER =
    "\nfolder2pop " FOLDER2POP_VERSION " - mail folder to POP files converter\n";

class ConversionRun : public testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        fake::clock_state.now_ms = fake::at(14, 25, 36, 789);
        std::filesystem::create_directory(out);
    }

    RunStatus convert(const std::string& folder_bytes)
    {
        write_file(folder, folder_bytes);
        return convert_file(folder, out);
    }

    static RunStatus convert_file(const std::string& source, const std::string& target)
    {
        const char* argv[] = {"folder2pop", source.c_str(), target.c_str(), nullptr};
        return run_conversion(3, argv, fake::platform());
    }

    TempDir dir;
    std::string folder = dir / "Inbox";
    std::string out = dir / "out";
};

TEST_F(ConversionRun, NamesFilesFromTheClockAndSleepsToTheNextTenth)
{
    EXPECT_EQ(convert("before\nFrom - 1\none\nFrom - 2\ntwo\r\nFrom - 3\n>From three"),
              STATUS_OK);
    EXPECT_EQ(fake::console_text, BANNER + "...");
    EXPECT_EQ(list_directory(out),
              (std::vector<std::string>{"C2AT44C5.POP", "C2AT44C6.POP", "C2AT44C7.POP"}));
    EXPECT_EQ(read_file(out + "/C2AT44C5.POP"), "one\n");
    EXPECT_EQ(read_file(out + "/C2AT44C6.POP"), "two\n");
    EXPECT_EQ(read_file(out + "/C2AT44C7.POP"), "From three");
    // 36.789 -> 36.800 -> 36.900: one sleep to each next tenth, no spinning.
    EXPECT_EQ(fake::clock_state.sleeps, (std::vector<std::uint32_t>{11, 100}));
    EXPECT_EQ(fake::clock_state.reads, 5);
}

TEST_F(ConversionRun, PassesOverNamesThatExistAndLeavesThemUntouched)
{
    write_file(out + "/C2AT44C5.POP", "an earlier run's message");
    write_file(dir / "precious", "not ours to overwrite");
    ASSERT_EQ(symlink((dir / "precious").c_str(), (out + "/C2AT44C6.POP").c_str()), 0);

    EXPECT_EQ(convert("From - 1\none\nFrom - 2\ntwo\n"), STATUS_OK);
    EXPECT_EQ(fake::console_text, BANNER + "..");
    EXPECT_EQ(read_file(out + "/C2AT44C5.POP"), "an earlier run's message");
    EXPECT_EQ(read_file(dir / "precious"), "not ours to overwrite");
    EXPECT_EQ(read_file(out + "/C2AT44C7.POP"), "one\n");
    EXPECT_EQ(read_file(out + "/C2AT44C8.POP"), "two\n");
    EXPECT_EQ(list_directory(out).size(), 4U);
}

struct WriteFault {
    const char* name;
    int fail_write_at;
    int fail_close_at;
    std::string dots;
    std::vector<std::string> files_left;
    const char* failed_file;
};

class ConversionWriteFault : public ConversionRun,
                             public testing::WithParamInterface<WriteFault> {};

// Message one is small; message two (100 KiB) outgrows the 64 KiB write buffer,
// so its first write happens while it is being copied; message three is small.
TEST_P(ConversionWriteFault, RemovesTheIncompleteFileAndStops)
{
    fake::file_faults.fail_write_at = GetParam().fail_write_at;
    fake::file_faults.fail_close_at = GetParam().fail_close_at;
    const std::string big(100 * 1024, 'b');
    EXPECT_EQ(convert("From - 1\none\nFrom - 2\n" + big + "\nFrom - 3\nthree\n"),
              STATUS_DESTINATION_NOT_WRITTEN);
    EXPECT_EQ(fake::console_text,
              BANNER + GetParam().dots +
                  "\nError: The destination file could not be written:\n    " + out + "/" +
                  GetParam().failed_file + "\n");
    EXPECT_EQ(list_directory(out), GetParam().files_left);
    if (!GetParam().files_left.empty()) {
        EXPECT_EQ(read_file(out + "/C2AT44C5.POP"), "one\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ConversionWriteFault,
    testing::Values(
        WriteFault{"FirstFileAtItsClose", 1, 0, "..", {}, "C2AT44C5.POP"},
        WriteFault{"CloseOfTheFirstFile", 0, 1, "..", {}, "C2AT44C5.POP"},
        WriteFault{"BigFileWhileCopying", 2, 0, "..", {"C2AT44C5.POP"}, "C2AT44C6.POP"},
        WriteFault{"LastFileAtTheEnd", 4, 0, "...", {"C2AT44C5.POP", "C2AT44C6.POP"},
                   "C2AT44C7.POP"},
        WriteFault{"CloseOfTheLastFile", 0, 3, "...", {"C2AT44C5.POP", "C2AT44C6.POP"},
                   "C2AT44C7.POP"}),
    case_name<WriteFault>);

TEST_F(ConversionRun, ReadFailureRemovesTheMessageInProgress)
{
    // The second message crosses into the folder's second 64 KiB block.
    fake::file_faults.fail_read_at = 2;
    EXPECT_EQ(convert("From - 1\none\nFrom - 2\n" + std::string(70000, 't') + "\n"),
              STATUS_SOURCE_NOT_READ);
    EXPECT_EQ(fake::console_text,
              BANNER + "..\nError: The source file could not be read:\n    " + folder + "\n");
    EXPECT_EQ(list_directory(out), std::vector<std::string>{"C2AT44C5.POP"});
    EXPECT_EQ(read_file(out + "/C2AT44C5.POP"), "one\n");
}

TEST_F(ConversionRun, CreationFailureNamesThePathAndReadsNoFurther)
{
    write_file(folder, "From - 1\none\nFrom - 2\ntwo\n");
    EXPECT_EQ(convert_file(folder, dir / "missing"), STATUS_DESTINATION_NOT_CREATED);
    EXPECT_EQ(fake::console_text,
              BANNER + ".\nError: The destination file could not be created:\n    " +
                  (dir / "missing") + "/C2AT44C5.POP\n");
}

struct UsageCase {
    std::string program_path;
    std::string name_shown;
};

class ConversionUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(ConversionUsage, NamesTheProgramFileAfterItsLastSeparator)
{
    fake::reset();
    fake::program_path = GetParam().program_path;
    const char* argv[] = {"typed", nullptr};
    EXPECT_EQ(run_conversion(1, argv, fake::platform()), STATUS_SYNTAX);
    EXPECT_EQ(fake::console_text,
              BANNER + "\nSyntax: " + GetParam().name_shown +
                  " Netscape_mail_folder_file POP_file_directory\n\n"
                  "This C++ program converts a Netscape Messenger mail folder into multiple\n"
                  "POP files, one POP file per message. If you do not want copies of deleted\n"
                  "messages, then you must compact the folder before using this program.\n");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ConversionUsage,
    testing::Values(UsageCase{"/usr/local/bin/folder2pop", "folder2pop"},
                    UsageCase{"C:\\Mail Tools\\FOLDER2POP.EXE", "FOLDER2POP.EXE"},
                    UsageCase{"D:folder2pop.exe", "folder2pop.exe"},
                    UsageCase{"a\\b/c:d", "d"},
                    UsageCase{"folder2pop", "folder2pop"},
                    UsageCase{"/usr/bin/", ""},
                    UsageCase{"", ""}));

}  // namespace

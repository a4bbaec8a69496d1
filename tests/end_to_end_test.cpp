// The built program, end to end: real folders and directories in a temporary
// directory, exact standard error, exit codes and POP file bytes.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>
#include <unistd.h>

#include <gtest/gtest.h>

#include "naming/pop_file_name.hpp"
#include "tests/support/case_name.hpp"
#include "tests/support/pop_name_order.hpp"
#include "tests/support/program_runner.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

using namespace std::string_literals;

const std::string BANNER =
    console_text("\nfolder2pop " FOLDER2POP_VERSION " - mail folder to POP files converter\n");


bool is_pop_file_name(const std::string& name)
{
    return std::regex_match(name, std::regex("[A-Z0-9]{8}\\.POP"));
}

// The POP files of a directory in the order they were made, checked for shape.
std::vector<std::string> pop_files_in_order(const std::string& directory)
{
    std::vector<std::string> names = list_directory(directory);
    for (const std::string& name : names) {
        EXPECT_TRUE(is_pop_file_name(name)) << name;
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return pop_name_order(a) < pop_name_order(b);
    });
    return names;
}

std::vector<std::string> contents_in_order(const std::string& directory)
{
    std::vector<std::string> contents;
    for (const std::string& name : pop_files_in_order(directory)) {
        contents.push_back(read_file(directory + "/" + name));
    }
    return contents;
}

// A folder of the messages in order, each after a separator line of its own.
std::string folder_of(const std::vector<std::string>& messages)
{
    std::string folder;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        folder += "From - " + std::to_string(i) + "\n" + messages[i];
    }
    return folder;
}

std::string message(const char* what, const std::string& text)
{
    return console_text("\nError: The "s + what + ":\n    " + text + "\n");
}

// Splits "BANNER dots message-prefix DIR/NAME.POP line-end" and checks its shape.
void expect_message_with_pop_path(const std::string& err, const std::string& dots,
                                  const char* what, const std::string& directory)
{
    const std::string line_end = console_text("\n");
    std::string start = BANNER + dots + message(what, directory + "/");
    start.resize(start.size() - line_end.size());
    ASSERT_EQ(err.substr(0, start.size()), start);
    ASSERT_EQ(err.size(), start.size() + 12 + line_end.size());
    EXPECT_TRUE(is_pop_file_name(err.substr(start.size(), 12))) << err;
    EXPECT_EQ(err.substr(start.size() + 12), line_end);
}

struct ConversionCase {
    const char* name;
    std::string folder;
    std::vector<std::string> pop_files;
};

class Converts : public testing::TestWithParam<ConversionCase> {};

TEST_P(Converts, EveryMessageIntoItsOwnPopFile)
{
    TempDir dir;
    write_file(dir / "Inbox", GetParam().folder);
    std::filesystem::create_directory(dir / "out");
    const ProgramRun run = run_program({dir / "Inbox", dir / "out"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, BANNER + std::string(GetParam().pop_files.size(), '.'));
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(contents_in_order(dir / "out"), GetParam().pop_files);
}

const std::string LONG_TEXT(32766, 'x');

INSTANTIATE_TEST_SUITE_P(
    Folders, Converts,
    testing::Values(
        ConversionCase{"CrLfFolderWithQuotedLines",
                       "dropped before the first message\r\n"
                       "From - Mon Mar 13 09:15:02 2000\r\n"
                       "Subject: one\r\n\r\n"
                       ">From the start\r\n>FROM x\r\n>From:\r\n>fromage\r\n>>From x\r\n"
                       ">From - x\r\n>from\r\nFrom -\r\nfrom - x\r\nFrom x\r\n>Fro\r\n"
                       "From - Tue Mar 14 17:40:11 2000\r\n"
                       "Subject: two\r\n",
                       {"Subject: one\n\n"
                        "From the start\nFROM x\nFrom:\nfromage\n>>From x\n"
                        "From - x\nfrom\nFrom -\nfrom - x\nFrom x\n>Fro\n",
                        "Subject: two\n"}},
        ConversionCase{"EmptyFolder", "", {}},
        ConversionCase{"NoSeparatorLine", "text\nmore text", {}},
        ConversionCase{"SeparatorsInARowAndAtTheEnd",
                       "From - a\nFrom - b\nx\nFrom - c\n", {"", "x\n", ""}},
        ConversionCase{"LastLineWithoutLineFeed", "From - a\nx\ny", {"x\ny"}},
        ConversionCase{"NulBytesAreCarried",
                       "From - a\na\0b\nc\n\0\n\0"s, {"a\0b\nc\n\0\n\0"s}},
        ConversionCase{"EndMarkerEndsTheFolder",
                       "From - a\nx\r\n\x1a" "From - b\ny\n", {"x\n"}},
        ConversionCase{"LongSeparatorLineIsWrittenNowhere",
                       "From - " + std::string(40000, 's') + "\nbody\n", {"body\n"}},
        ConversionCase{"SeparatorTextInsideALongLineIsText",
                       "From - a\n" + LONG_TEXT + "From - b\nnext\n",
                       {LONG_TEXT + "From - b\nnext\n"}},
        ConversionCase{"QuoteInsideALongLineIsKept",
                       "From - a\n" + LONG_TEXT + ">From b\n",
                       {LONG_TEXT + ">From b\n"}},
        ConversionCase{"LongLineIsCarriedWhole",
                       "From - a\n" + std::string(200000, 'L') + "\r\nend\r\n",
                       {std::string(200000, 'L') + "\nend\n"}}),
    case_name<ConversionCase>);

TEST(EndToEnd, ConvertsTheSampleFolder)
{
    TempDir dir;
    const ProgramRun run = run_program({FOLDER2POP_SOURCE_DIR "/examples/Inbox", dir.path()});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, BANNER + "...");
    const std::vector<std::string> pops = contents_in_order(dir.path());
    ASSERT_EQ(pops.size(), 3U);
    EXPECT_NE(pops[0].find("\nFrom the corner table"), std::string::npos);
    EXPECT_EQ(pops[0].find('\r'), std::string::npos);
}

TEST(EndToEnd, PopFilesAreReadableByTheirOwnerOnly)
{
    if (program_is_for_windows()) {
        GTEST_SKIP() << "Windows has no mode bits: a POP file takes the access rules of "
                        "its directory";
    }
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    write_file(dir / "Inbox", "From - a\nprivate\n");
    ASSERT_EQ(run_program({dir / "Inbox", dir / "out"}).exit_code, 0);
    ASSERT_EQ(list_directory(dir / "out").size(), 1U);
    for (const std::string& name : list_directory(dir / "out")) {
        struct stat status {};
        ASSERT_EQ(stat((dir / ("out/" + name)).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600U) << name;
    }
}

std::string usage_text()
{
    return console_text(
        "\nSyntax: " + program_file_name() +
        " Netscape_mail_folder_file POP_file_directory\n\n"
        "This C++ program converts a Netscape Messenger mail folder into multiple\n"
        "POP files, one POP file per message. If you do not want copies of deleted\n"
        "messages, then you must compact the folder before using this program.\n");
}

TEST(EndToEnd, WrongArgumentCountShowsTheUsage)
{
    TempDir dir;
    write_file(dir / "Inbox", "From - a\nx\n");
    const std::vector<std::vector<std::string>> argument_lists = {
        {}, {dir / "Inbox"}, {dir / "Inbox", dir.path(), "extra"}};
    for (const auto& arguments : argument_lists) {
        const ProgramRun run = run_program(arguments);
        EXPECT_EQ(run.exit_code, 1) << arguments.size() << " arguments";
        EXPECT_EQ(run.err, BANNER + usage_text());
        EXPECT_EQ(run.out, "");
    }
    // A Windows program's arguments come from its command line, which always
    // names the program: it cannot be started with none at all.
    if (!program_is_for_windows()) {
        RunOptions no_arguments_at_all;
        no_arguments_at_all.empty_argument_vector = true;
        const ProgramRun run = run_program({}, no_arguments_at_all);
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err, BANNER + usage_text());
    }
    EXPECT_EQ(list_directory(dir.path()), std::vector<std::string>{"Inbox"});
}

TEST(EndToEnd, SourceThatCannotBeOpened)
{
    TempDir dir;
    const std::string too_long(300, 'd');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {dir / "missing", dir.path()},
        {"", dir.path()},
        {dir.path(), dir.path()},         // a directory is no folder
        {dir / "missing", too_long},      // the folder is looked at first
        {dir / too_long, dir.path()}};    // a message longer than a console write
    for (const auto& [folder, directory] : cases) {
        const ProgramRun run = run_program({folder, directory});
        EXPECT_EQ(run.exit_code, 2) << folder;
        EXPECT_EQ(run.err, BANNER + message("source file could not be opened", folder));
    }
    EXPECT_TRUE(list_directory(dir.path()).empty());
}

// A directory whose path is exactly length bytes long.
std::string directory_of_length(const std::string& base, std::size_t length)
{
    std::string path = base;
    while (path.size() < length) {
        const std::size_t part = std::min<std::size_t>(100, length - path.size() - 1);
        path += "/" + std::string(std::max<std::size_t>(part, 1), 'd');
        std::filesystem::create_directory(path);
    }
    EXPECT_EQ(path.size(), length);
    return path;
}

TEST(EndToEnd, DirectoryOfAtMost242BytesIsAccepted)
{
    TempDir dir;
    write_file(dir / "Inbox", "From - a\nx\n");
    const std::string longest = directory_of_length(dir.path(), 242);
    const ProgramRun accepted = run_program({dir / "Inbox", longest});
    EXPECT_EQ(accepted.exit_code, 0);
    EXPECT_EQ(accepted.err, BANNER + ".");
    ASSERT_EQ(list_directory(longest).size(), 1U);
    EXPECT_EQ((longest + "/" + list_directory(longest)[0]).size(), 255U);

    const std::string too_long = longest + "x";
    const ProgramRun refused = run_program({dir / "Inbox", too_long});
    EXPECT_EQ(refused.exit_code, 3);
    EXPECT_EQ(refused.err, BANNER + message("destination directory path is too long", too_long));
}

TEST(EndToEnd, DestinationThatCannotBeCreated)
{
    TempDir dir;
    write_file(dir / "Inbox", "From - a\nx\nFrom - b\ny\n");
    write_file(dir / "a-file", "");
    for (const std::string& directory : {dir / "missing", dir / "missing/", dir / "a-file"}) {
        const ProgramRun run = run_program({dir / "Inbox", directory});
        EXPECT_EQ(run.exit_code, 4) << directory;
        expect_message_with_pop_path(run.err, ".", "destination file could not be created",
                                     directory);
    }
    EXPECT_EQ(list_directory(dir.path()), (std::vector<std::string>{"Inbox", "a-file"}));
}

// Run as "nobody" when we are root, for whom no mode bit forbids anything: the
// program must reach the folder, and meet the read-only bits of the directory.
TEST(EndToEnd, ReadOnlyDestination)
{
    if (!can_run_unprivileged()) {
        GTEST_SKIP() << "root cannot run the program as another user here, and root "
                        "may write into a read-only directory";
    }
    TempDir dir;
    write_file(dir / "Inbox", "From - a\nx\nFrom - b\ny\n");
    std::filesystem::create_directory(dir / "read-only");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod((dir / "Inbox").c_str(), 0644), 0);
    ASSERT_EQ(chmod((dir / "read-only").c_str(), 0555), 0);
    RunOptions unprivileged;
    unprivileged.unprivileged = true;
    for (const std::string& directory : {dir / "read-only", dir / "read-only/"}) {
        const ProgramRun run = run_program({dir / "Inbox", directory}, unprivileged);
        EXPECT_EQ(run.exit_code, 4) << directory;
        expect_message_with_pop_path(run.err, ".", "destination file could not be created",
                                     directory);
    }
    EXPECT_EQ(list_directory(dir.path()), (std::vector<std::string>{"Inbox", "read-only"}));
    EXPECT_TRUE(list_directory(dir / "read-only").empty());
}

TEST(EndToEnd, DirectoryEndingInASlashGetsAnotherOne)
{
    TempDir dir;
    write_file(dir / "Inbox", "From - a\nx\n");
    std::filesystem::create_directory(dir / "out");
    const ProgramRun run = run_program({dir / "Inbox", dir / "out/"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(contents_in_order(dir / "out"), std::vector<std::string>{"x\n"});
}

// A POP file that reaches the file-size limit (as a full disk would stop it):
// the write that fails may come when the next message starts, when the run
// ends, or while a message larger than the write buffer is copied. The limit
// holds for standard error too, so it stays above what the run prints.
// Under wine the limit binds the wine process, whose WriteFile then fails as
// on a full disk on Windows.
struct FileSizeLimitCase {
    const char* name;
    long long limit;
    std::string folder;
    const char* dots;
    std::vector<std::string> pop_files_left;
};

class FileSizeLimit : public testing::TestWithParam<FileSizeLimitCase> {};

TEST_P(FileSizeLimit, StopsTheRunAndRemovesTheIncompleteFile)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    write_file(dir / "Inbox", GetParam().folder);
    RunOptions limited;
    limited.file_size_limit = GetParam().limit;
    const ProgramRun run = run_program({dir / "Inbox", dir / "out"}, limited);
    EXPECT_EQ(run.exit_code, 5);
    expect_message_with_pop_path(run.err, GetParam().dots,
                                 "destination file could not be written", dir / "out");
    EXPECT_EQ(contents_in_order(dir / "out"), GetParam().pop_files_left);
}

const std::string OVER_10000(20000, 'b');
const std::string LONG_LINES = [] {
    std::string lines;
    for (int i = 0; i < 10; ++i) {
        lines += std::string(30000, static_cast<char>('a' + i)) + "\n";
    }
    return lines;
}();

INSTANTIATE_TEST_SUITE_P(
    Writes, FileSizeLimit,
    testing::Values(
        FileSizeLimitCase{"WhenTheNextMessageStarts", 10000,
                          "From - a\none\nFrom - b\n" + OVER_10000 + "\nFrom - c\nthree\n",
                          "...", {"one\n"}},
        FileSizeLimitCase{"WhenTheRunEnds", 10000,
                          "From - a\none\nFrom - b\n" + OVER_10000 + "\n", "..", {"one\n"}},
        FileSizeLimitCase{"WhileABigMessageIsCopied", 100000,
                          "From - a\none\nFrom - b\n" + LONG_LINES + "From - c\nthree\n",
                          "..", {"one\n"}},
        FileSizeLimitCase{"AfterAnEmptyMessage", 1000,
                          "From - a\nFrom - b\n" + OVER_10000 + "\nFrom - c\nthree\n",
                          "...", {""}}),
    case_name<FileSizeLimitCase>);

TEST(EndToEnd, ReadFailureStopsTheRunAndRemovesTheIncompleteFile)
{
    if (program_is_for_windows()) {
        GTEST_SKIP() << "the fault is preloaded into the C library's read(), which a "
                        "Windows program does not call; see FolderThatCannotBeRead";
    }
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    write_file(dir / "Inbox", "From - a\none\nFrom - b\n" + std::string(70000, 't') + "\n");
    RunOptions failing;
    failing.environment = {"LD_PRELOAD=" FAIL_READS_LIBRARY, "FOLDER2POP_FAIL_READ_AFTER=65536",
                           "ASAN_OPTIONS=verify_asan_link_order=0"};
    const ProgramRun run = run_program({dir / "Inbox", dir / "out"}, failing);
    EXPECT_EQ(run.exit_code, 6);
    EXPECT_EQ(run.err, BANNER + ".." + message("source file could not be read", dir / "Inbox"));
    EXPECT_EQ(contents_in_order(dir / "out"), std::vector<std::string>{"one\n"});
}

// A file every read of which fails: the memory of the reading process at
// address 0, which is never mapped. Under wine the Windows program reads the
// same kernel file through ReadFile, so this reaches its read failure too.
TEST(EndToEnd, FolderThatCannotBeRead)
{
    if (!std::filesystem::exists("/proc/self/mem")) {
        GTEST_SKIP() << "no /proc on this system";
    }
    TempDir dir;
    const ProgramRun run = run_program({"/proc/self/mem", dir.path()});
    EXPECT_EQ(run.exit_code, 6);
    EXPECT_EQ(run.err, BANNER + message("source file could not be read", "/proc/self/mem"));
    EXPECT_TRUE(list_directory(dir.path()).empty());
}

// The stems the clock gives from now on for the next tenths.
std::vector<std::string> names_due_next(int tenths)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::vector<std::string> names;
    for (int i = -1; i < tenths; ++i) {
        const long long ms = now.tv_sec * 1000LL + now.tv_nsec / 1000000 + i * 100LL;
        const time_t seconds = static_cast<time_t>(ms / 1000);
        tm local{};
        localtime_r(&seconds, &local);
        const ClockReading reading = {local.tm_year + 1900, local.tm_mon, local.tm_mday,
                                      local.tm_hour, local.tm_min, local.tm_sec,
                                      static_cast<int>(ms % 1000)};
        char stem[POP_NAME_STEM_LENGTH + 1] = {};
        encode_pop_name_stem(reading, stem);
        names.push_back(std::string(stem) + ".POP");
    }
    return names;
}

TEST(EndToEnd, NeverOverwritesAFileOrFollowsALinkOfAPopFileName)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    write_file(dir / "Inbox", "From - a\none\nFrom - b\ntwo\n");
    write_file(dir / "precious", "the target of a planted link");
    // Occupy every name of the next second and a half, half of them as links.
    const std::vector<std::string> planted = names_due_next(15);
    for (std::size_t i = 0; i < planted.size(); ++i) {
        if (i % 2 == 0) {
            write_file(dir / ("out/" + planted[i]), "earlier message " + std::to_string(i));
        } else {
            ASSERT_EQ(symlink((dir / "precious").c_str(), (dir / "out/" + planted[i]).c_str()), 0);
        }
    }
    const ProgramRun run = run_program({dir / "Inbox", dir / "out"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, BANNER + "..");
    for (std::size_t i = 0; i < planted.size(); i += 2) {
        EXPECT_EQ(read_file(dir / ("out/" + planted[i])), "earlier message " + std::to_string(i));
    }
    EXPECT_EQ(read_file(dir / "precious"), "the target of a planted link");
    std::vector<std::string> made;
    for (const std::string& name : pop_files_in_order(dir / "out")) {
        if (std::find(planted.begin(), planted.end(), name) == planted.end()) {
            made.push_back(read_file(dir / ("out/" + name)));
        }
    }
    EXPECT_EQ(made, (std::vector<std::string>{"one\n", "two\n"}));
}

// The name is the local date and time as this test reads it too, so a
// platform's clock that is off by a month or a time zone shows here.
TEST(EndToEnd, NameComesFromTheLocalClock)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    write_file(dir / "Inbox", "From - a\nx\n");
    const std::vector<std::string> due = names_due_next(100);
    ASSERT_EQ(run_program({dir / "Inbox", dir / "out"}).exit_code, 0);
    const std::vector<std::string> made = pop_files_in_order(dir / "out");
    ASSERT_EQ(made.size(), 1U);
    EXPECT_NE(std::find(due.begin(), due.end(), made[0]), due.end()) << made[0];
}

TEST(EndToEnd, ManyMessagesGetDistinctNamesInOrder)
{
    TempDir dir;
    std::string folder;
    std::vector<std::string> expected;
    for (int i = 0; i < 12; ++i) {
        folder += "From - " + std::to_string(i) + "\r\nmessage " + std::to_string(i) + "\r\n";
        expected.push_back("message " + std::to_string(i) + "\n");
    }
    write_file(dir / "Inbox", folder);
    std::filesystem::create_directory(dir / "out");
    const ProgramRun run = run_program({dir / "Inbox", dir / "out"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, BANNER + std::string(12, '.'));
    EXPECT_EQ(contents_in_order(dir / "out"), expected);
}

// Blanks stay inside an argument. On Windows the arguments travel as one
// command line, where quotes group them and are removed again.
TEST(EndToEnd, PathsWithBlanksAreOneArgumentEach)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "my mail");
    std::filesystem::create_directory(dir / "pop  files");
    write_file(dir / "my mail/In box", "From - a\nx\n");
    const ProgramRun run = run_program({dir / "my mail/In box", dir / "pop  files"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, BANNER + ".");
    EXPECT_EQ(contents_in_order(dir / "pop  files"), std::vector<std::string>{"x\n"});

    const std::string missing = dir / "my mail/no such\tfolder ";
    const ProgramRun refused = run_program({missing, dir / "pop  files"});
    EXPECT_EQ(refused.exit_code, 2);
    EXPECT_EQ(refused.err, BANNER + message("source file could not be opened", missing));
}

// Run where "*" and "?" match two files each: expanded, either would make
// more than two arguments and show the usage text.
TEST(EndToEnd, WildcardsArePassedOnUnexpanded)
{
    TempDir dir;
    write_file(dir / "a", "From - a\nx\n");
    write_file(dir / "b", "");
    RunOptions in_dir;
    in_dir.working_directory = dir.path();

    const ProgramRun source = run_program({"*", "?"}, in_dir);
    EXPECT_EQ(source.exit_code, 2);
    EXPECT_EQ(source.err, BANNER + message("source file could not be opened", "*"));

    const ProgramRun destination = run_program({"a", "?"}, in_dir);
    EXPECT_EQ(destination.exit_code, 4);
    expect_message_with_pop_path(destination.err, ".", "destination file could not be created",
                                 "?");
    EXPECT_EQ(list_directory(dir.path()), (std::vector<std::string>{"a", "b"}));
}

// The console is text: each line end is CR LF on Windows, a line feed alone
// elsewhere. POP files are bytes and never get a CR.
TEST(EndToEnd, ConsoleLineEndsAreThePlatformsAndPopFilesHaveNoCarriageReturn)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    write_file(dir / "Inbox", "From - a\r\nx\r\n\r\ny\r\n");
    const ProgramRun converted = run_program({dir / "Inbox", dir / "out"});
    EXPECT_EQ(contents_in_order(dir / "out"), std::vector<std::string>{"x\n\ny\n"});

    const ProgramRun failed = run_program({dir / "Inbox", dir / "missing"});
    for (const std::string& err : {converted.err, failed.err}) {
        const auto line_feeds = std::count(err.begin(), err.end(), '\n');
        const auto returns = std::count(err.begin(), err.end(), '\r');
        EXPECT_GE(line_feeds, 2);
        EXPECT_EQ(returns, program_is_for_windows() ? line_feeds : 0) << err;
        for (std::size_t at = err.find('\n'); at != std::string::npos; at = err.find('\n', at + 1)) {
            EXPECT_EQ(program_is_for_windows(), at > 0 && err[at - 1] == '\r') << at;
        }
    }
}

// A run ended by a signal dies at once, as the platform's default has it: the
// POP file being written may be short, but every one closed before is whole.
class Interrupted : public testing::TestWithParam<int> {};

TEST_P(Interrupted, LeavesEveryClosedPopFileWhole)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    std::vector<std::string> messages;
    for (int i = 0; i < 30; ++i) {
        messages.push_back("Subject: " + std::to_string(i) + "\n\n" +
                           std::string(3000, static_cast<char>('a' + i % 26)) + "\n");
    }
    write_file(dir / "Inbox", folder_of(messages));
    StartedProgram started = start_program({dir / "Inbox", dir / "out"});
    // Names come ten a second at most: a run of 30 takes 3 s. Stop it early.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (list_directory(dir / "out").size() < 3 && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(kill(started.pid, GetParam()), 0);
    const ProgramRun run = finish_program(started);
    // Under wine, SIGINT becomes a console Ctrl-C event, and wine's default
    // handler ends the Windows program with an exit code of its own choosing
    // (0 with wine 8), not by the signal.
    if (!(program_is_for_windows() && GetParam() == SIGINT)) {
        EXPECT_EQ(run.signal, GetParam()) << "exit code " << run.exit_code;
    }
    const std::vector<std::string> pops = contents_in_order(dir / "out");
    ASSERT_GE(pops.size(), 3U);
    ASSERT_LT(pops.size(), messages.size()) << "the run ended before the signal";
    for (std::size_t i = 0; i + 1 < pops.size(); ++i) {
        EXPECT_EQ(pops[i], messages[i]) << "POP file " << i;
    }
    const std::string& newest = messages[pops.size() - 1];
    EXPECT_EQ(pops.back(), newest.substr(0, pops.back().size())) << "the newest POP file";
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& signal) {
                             return std::string(signal.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

TEST(EndToEnd, TwoRunsIntoOneDirectoryKeepEveryMessage)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "out");
    std::vector<std::string> first;
    std::vector<std::string> second;
    for (int i = 0; i < 15; ++i) {
        first.push_back("first folder, message " + std::to_string(i) + "\n");
        second.push_back("second folder, message " + std::to_string(i) + "\n");
    }
    write_file(dir / "first", folder_of(first));
    write_file(dir / "second", folder_of(second));
    // Both ask the clock for the same names; each passes over those taken.
    StartedProgram first_started = start_program({dir / "first", dir / "out"});
    StartedProgram second_started = start_program({dir / "second", dir / "out"});
    for (StartedProgram* started : {&first_started, &second_started}) {
        const ProgramRun run = finish_program(*started);
        EXPECT_EQ(run.exit_code, 0);
        EXPECT_EQ(run.err, BANNER + std::string(15, '.'));
    }
    std::vector<std::string> from_first;
    std::vector<std::string> from_second;
    for (const std::string& pop : contents_in_order(dir / "out")) {
        (pop.starts_with("first") ? from_first : from_second).push_back(pop);
    }
    EXPECT_EQ(from_first, first);
    EXPECT_EQ(from_second, second);
}

}  // namespace

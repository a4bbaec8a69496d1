// Fuzz target: the whole conversion, in process, on the tests' fake clock, into
// a fresh directory per input. The POP files, in name order, must be the
// folder text less its separator lines and less the ">" of each quoted From
// line, one file per separator line, one dot each on the console and no
// message, and the run must end with status 0.
// The expected files come from the line rule alone, not from the reader.
#include <filesystem>

#include "app/conversion_run.hpp"
#include "fuzz/pop_files.hpp"
#include "fuzz/scratch_files.hpp"
#include "tests/support/fake_platform.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string folder = scratch_directory() + "/Inbox";
    const std::string out = scratch_directory() + "/out";
    write_whole_file(folder, data, size);
    std::filesystem::create_directory(out);

    // The fake clock moves only when slept on: names are exact, nothing waits.
    fake::reset();
    const char* argv[] = {"folder2pop", folder.c_str(), out.c_str(), nullptr};
    const RunStatus status = run_conversion(3, argv, fake::platform());

    const std::vector<std::string> made = take_pop_files(out);
    check(status == STATUS_OK, "a readable folder into a writable directory gives status 0");
    const std::vector<std::string> expected = expected_pop_files(folder_text(data, size));
    check(made.size() == expected.size(), "one POP file per separator line");
    check(made == expected, "the POP files hold the messages byte for byte");
    const std::string& console = fake::console_text;
    check(console.substr(console.rfind('\n') + 1) == std::string(made.size(), '.'),
          "the banner, then one dot per message and nothing else");
    return 0;
}

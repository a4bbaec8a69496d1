// Fuzz target: the whole conversion with one failing read, write or close of
// the tests' fake files, chosen by the input's first two bytes; the rest is the
// folder. Whatever fails, the POP files left are the first messages, whole, in
// order; a failed read or write never ends with status 0, and a failed close
// does so only when it is the folder's, the run's last.
#include <filesystem>

#include "app/conversion_run.hpp"
#include "fuzz/pop_files.hpp"
#include "fuzz/scratch_files.hpp"
#include "tests/support/fake_platform.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int operation = data[0] % 3;
    const int failing_call = data[1] + 1;
    data += 2;
    size -= 2;
    const std::string folder = scratch_directory() + "/Inbox";
    const std::string out = scratch_directory() + "/out";
    write_whole_file(folder, data, size);
    std::filesystem::create_directory(out);

    fake::reset();
    int* fail_at[] = {&fake::file_faults.fail_read_at, &fake::file_faults.fail_write_at,
                      &fake::file_faults.fail_close_at};
    *fail_at[operation] = failing_call;
    const char* argv[] = {"folder2pop", folder.c_str(), out.c_str(), nullptr};
    const RunStatus status = run_conversion(3, argv, fake::platform());

    const std::vector<std::string> made = take_pop_files(out);
    const std::vector<std::string> expected = expected_pop_files(folder_text(data, size));
    const fake::FileFaults& faults = fake::file_faults;
    const bool read_failed = faults.reads >= faults.fail_read_at && faults.fail_read_at > 0;
    const bool write_failed = faults.writes >= faults.fail_write_at && faults.fail_write_at > 0;
    const bool close_failed = faults.closes >= faults.fail_close_at && faults.fail_close_at > 0;
    check(made.size() <= expected.size() &&
              std::equal(made.begin(), made.end(), expected.begin()),
          "the POP files left are the first messages, byte for byte");
    if (read_failed) {
        check(status == STATUS_SOURCE_NOT_READ, "a failed read gives status 6");
    } else if (write_failed) {
        check(status == STATUS_DESTINATION_NOT_WRITTEN, "a failed write gives status 5");
    } else if (close_failed && status == STATUS_OK) {
        check(faults.fail_close_at == faults.closes, "only the folder's close may fail unseen");
    } else if (close_failed) {
        check(status == STATUS_DESTINATION_NOT_WRITTEN, "a failed close gives status 5");
    } else {
        check(status == STATUS_OK, "with no failure the status is 0");
    }
    check(status != STATUS_OK || made == expected, "status 0 means every message is there");
    check(status == STATUS_OK || made.size() < expected.size() || expected.empty(),
          "a failed run leaves a message out");
    return 0;
}

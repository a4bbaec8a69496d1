// A platform that tests control: a clock that moves only when told or slept
// on, a console that keeps what it is given, and real files that can be made
// to fail on a chosen call.
#ifndef FOLDER2POP_TESTS_FAKE_PLATFORM_HPP
#define FOLDER2POP_TESTS_FAKE_PLATFORM_HPP

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.hpp"

namespace fake {

// The clock reads 15 March 2000 00:00:00.000 plus now_ms; each sleep moves it
// on by exactly the time slept, unless sleep_advances_ms says otherwise.
struct ClockState {
    std::int64_t now_ms = 0;
    int reads = 0;
    std::vector<std::uint32_t> sleeps;
    std::int64_t sleep_advances_ms = -1;  // -1: as long as asked
};
extern ClockState clock_state;
const Clock& clock();

// Milliseconds from the clock's start to the given time of 15 March 2000.
std::int64_t at(int hour, int minute, int second, int millisecond);

// The system's files, but the nth call (counting from 1) of an operation
// fails; 0 never fails.
struct FileFaults {
    int fail_read_at = 0;
    int fail_write_at = 0;
    int fail_close_at = 0;
    int reads = 0;
    int writes = 0;
    int closes = 0;
};
extern FileFaults file_faults;
const FileSystem& files();

extern std::string console_text;
const Console& console();

// The program's path the platform reports; "/opt/mail/folder2pop" after reset.
extern std::string program_path;

// All of the above.
const Platform& platform();

// Puts every fake back as a new test expects it.
void reset();

}  // namespace fake

#endif

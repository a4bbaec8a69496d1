// The fakes behind fake_platform.hpp.
#include "tests/support/fake_platform.hpp"

namespace fake {

ClockState clock_state;
FileFaults file_faults;
std::string console_text;
std::string program_path;

namespace {

constexpr std::int64_t MS_PER_DAY = 86400000;

void read_fake_clock(ClockReading& reading)
{
    ++clock_state.reads;
    const std::int64_t ms = clock_state.now_ms;
    reading.year = 2000;
    reading.month = 2;
    reading.day = 15 + static_cast<int>(ms / MS_PER_DAY);
    reading.hour = static_cast<int>(ms / 3600000 % 24);
    reading.minute = static_cast<int>(ms / 60000 % 60);
    reading.second = static_cast<int>(ms / 1000 % 60);
    reading.millisecond = static_cast<int>(ms % 1000);
}

void sleep_fake(std::uint32_t milliseconds)
{
    clock_state.sleeps.push_back(milliseconds);
    clock_state.now_ms += clock_state.sleep_advances_ms < 0
                              ? static_cast<std::int64_t>(milliseconds)
                              : clock_state.sleep_advances_ms;
}

const Clock fake_clock = {read_fake_clock, sleep_fake};

bool fails_now(int& calls, int fail_at)
{
    ++calls;
    return calls == fail_at;
}

bool open_fake(const char* path, FileHandle& file)
{
    return system_files().open_for_reading(path, file);
}

ReadOutcome read_fake(FileHandle file, char* buffer, std::size_t capacity,
                      std::size_t& count)
{
    if (fails_now(file_faults.reads, file_faults.fail_read_at)) {
        count = 0;
        return READ_FAILED;
    }
    return system_files().read(file, buffer, capacity, count);
}

CreateOutcome create_fake(const char* path, FileHandle& file)
{
    return system_files().create_new(path, file);
}

bool write_fake(FileHandle file, const char* bytes, std::size_t count)
{
    if (fails_now(file_faults.writes, file_faults.fail_write_at)) {
        return false;
    }
    return system_files().write_all(file, bytes, count);
}

bool close_fake(FileHandle file)
{
    const bool closed = system_files().close(file);
    return !fails_now(file_faults.closes, file_faults.fail_close_at) && closed;
}

bool remove_fake(const char* path)
{
    return system_files().remove(path);
}

const FileSystem fake_files = {open_fake,  read_fake,  create_fake,
                               write_fake, close_fake, remove_fake};

void write_fake_console(const char* text, std::size_t length)
{
    console_text.append(text, length);
}

const Console fake_console = {write_fake_console};

const char* fake_program_path(const char*)
{
    return program_path.c_str();
}

const Platform fake_platform = {&fake_clock, &fake_files, &fake_console,
                                fake_program_path};

}  // namespace

const Clock& clock()
{
    return fake_clock;
}

std::int64_t at(int hour, int minute, int second, int millisecond)
{
    return ((hour * 60LL + minute) * 60LL + second) * 1000LL + millisecond;
}

const FileSystem& files()
{
    return fake_files;
}

const Console& console()
{
    return fake_console;
}

const Platform& platform()
{
    return fake_platform;
}

void reset()
{
    clock_state = ClockState{};
    file_faults = FileFaults{};
    console_text.clear();
    program_path = "/opt/mail/folder2pop";
}

}  // namespace fake

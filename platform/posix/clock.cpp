// The POSIX clock: one clock_gettime plus localtime_r per reading, with a
// 64-bit time_t, so readings past 2038 are as good as any other.
#include "platform/clock.hpp"

#include <cerrno>
#include <ctime>

namespace {

void read_system_clock(ClockReading& reading)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const time_t seconds = now.tv_sec;
    tm local{};
    localtime_r(&seconds, &local);
    reading.year = local.tm_year + 1900;
    reading.month = local.tm_mon;
    reading.day = local.tm_mday;
    reading.hour = local.tm_hour;
    reading.minute = local.tm_min;
    reading.second = local.tm_sec;
    reading.millisecond = static_cast<int>(now.tv_nsec / 1000000);
}

void sleep_system_milliseconds(std::uint32_t milliseconds)
{
    timespec wanted{};
    wanted.tv_sec = static_cast<time_t>(milliseconds / 1000);
    wanted.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    timespec left{};
    while (nanosleep(&wanted, &left) != 0 && errno == EINTR) {
        wanted = left;
    }
}

const Clock posix_clock = {read_system_clock, sleep_system_milliseconds};

}  // namespace

const Clock& system_clock()
{
    return posix_clock;
}

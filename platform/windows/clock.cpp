// The Windows clock: one GetLocalTime per reading, which already gives local
// time with milliseconds after the system's time-zone and daylight-saving rules.
#include "platform/clock.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

void read_system_clock(ClockReading& reading)
{
    SYSTEMTIME local{};
    GetLocalTime(&local);
    reading.year = local.wYear;
    reading.month = local.wMonth - 1;  // SYSTEMTIME counts months from 1
    reading.day = local.wDay;
    reading.hour = local.wHour;
    reading.minute = local.wMinute;
    reading.second = local.wSecond;
    reading.millisecond = local.wMilliseconds;
}

void sleep_system_milliseconds(std::uint32_t milliseconds)
{
    Sleep(milliseconds);
}

const Clock windows_clock = {read_system_clock, sleep_system_milliseconds};

}  // namespace

const Clock& system_clock()
{
    return windows_clock;
}

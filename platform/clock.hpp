// The wall clock as the program sees it: one local date and time per reading,
// and a way to sleep until a later reading is due.
#ifndef FOLDER2POP_PLATFORM_CLOCK_HPP
#define FOLDER2POP_PLATFORM_CLOCK_HPP

#include <cstdint>

// Local date and time after the platform's time-zone and daylight-saving
// adjustment, field by field as a calendar shows it.
struct ClockReading {
    int year;         // e.g. 2026
    int month;        // 0 (January) to 11 (December)
    int day;          // 1 to 31
    int hour;         // 0 to 23
    int minute;       // 0 to 59
    int second;       // 0 to 60 (a leap second, where the platform shows one)
    int millisecond;  // 0 to 999
};

// Tests put a clock of their own in place of the system's.
struct Clock {
    // One query of the clock.
    void (*read)(ClockReading& reading);
    // Sleeps at least this long; may return early only if interrupted.
    void (*sleep_milliseconds)(std::uint32_t milliseconds);
};

const Clock& system_clock();

#endif

// POP file names from the clock. Only the name handed out just before is
// avoided: no counter and no look at the directory, so a clock set back can
// repeat a name (the run then refuses to overwrite and asks again).
#include "naming/pop_file_name.hpp"

#include <cstring>

namespace {

constexpr std::uint32_t BASE = 36;
constexpr std::uint32_t TENTH_MILLISECONDS = 100;

std::uint32_t as_count(int field)
{
    return field < 0 ? 0U : static_cast<std::uint32_t>(field);
}

// Twelve slots of twelve "days" per month, not 31: dates of one year that lie
// at least 16 days apart may share an index, and so a name.
std::uint32_t day_index(const ClockReading& reading)
{
    return 12U * as_count(reading.month) + as_count(reading.day) - 1U;
}

std::uint32_t time_count(const ClockReading& reading)
{
    const std::uint32_t hours = 24U * day_index(reading) + as_count(reading.hour);
    const std::uint32_t minutes = 60U * hours + as_count(reading.minute);
    const std::uint32_t seconds = 60U * minutes + as_count(reading.second);
    const std::uint32_t tenths =
        (as_count(reading.millisecond) / TENTH_MILLISECONDS) % 10U;
    return 10U * seconds + tenths;
}

}  // namespace

char base36_digit(std::uint32_t value)
{
    if (value > 35U) {
        return '!';
    }
    if (value >= 26U) {
        return static_cast<char>('0' + (value - 26U));
    }
    return static_cast<char>('A' + value);
}

void encode_pop_name_stem(const ClockReading& reading, char* stem)
{
    const std::uint32_t years = as_count(reading.year - 1900);
    const std::uint32_t count = time_count(reading);
    stem[0] = base36_digit(years / BASE);
    stem[1] = base36_digit(years % BASE);
    stem[2] = base36_digit(count / (BASE * BASE * BASE * BASE * BASE));
    stem[3] = base36_digit(count / (BASE * BASE * BASE * BASE) % BASE);
    stem[4] = base36_digit(count / (BASE * BASE * BASE) % BASE);
    stem[5] = base36_digit(count / (BASE * BASE) % BASE);
    stem[6] = base36_digit(count / BASE % BASE);
    stem[7] = base36_digit(count % BASE);
}

char* make_pop_file_name(char* destination, std::uint32_t capacity,
                         PreviousName& previous, const Clock& clock)
{
    if (capacity < POP_FILE_NAME_SIZE) {
        destination[0] = '\0';
        return destination;
    }
    ClockReading reading{};
    for (;;) {
        clock.read(reading);
        encode_pop_name_stem(reading, destination);
        destination[POP_NAME_STEM_LENGTH] = '\0';
        if (std::strcmp(destination, previous.stem) != 0) {
            break;
        }
        // Same tenth as the last name: sleep until the next tenth is due
        // rather than spin on the clock.
        const std::uint32_t into_tenth =
            as_count(reading.millisecond) % TENTH_MILLISECONDS;
        clock.sleep_milliseconds(TENTH_MILLISECONDS - into_tenth);
    }
    std::memcpy(previous.stem, destination, POP_NAME_STEM_LENGTH + 1);
    std::memcpy(destination + POP_NAME_STEM_LENGTH, ".POP", 5);
    return destination;
}

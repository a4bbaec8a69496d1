// POP file names: eight base-36 characters that encode the local date and time
// to a tenth of a second, then ".POP".
#ifndef FOLDER2POP_NAMING_POP_FILE_NAME_HPP
#define FOLDER2POP_NAMING_POP_FILE_NAME_HPP

#include <cstdint>

#include "platform/clock.hpp"

// Twelve characters and a NUL.
constexpr std::uint32_t POP_FILE_NAME_SIZE = 13;
// The characters that come from the clock.
constexpr std::uint32_t POP_NAME_STEM_LENGTH = 8;

// The stem of the last name handed out in this run; empty when a run starts.
struct PreviousName {
    char stem[16];
};

// "A" to "Z" for 0 to 25, "0" to "9" for 26 to 35, "!" above.
char base36_digit(std::uint32_t value);

// Writes the eight characters of the reading's name (no NUL).
void encode_pop_name_stem(const ClockReading& reading, char* stem);

// Makes the next name into destination: a NUL-terminated name whose stem
// differs from the one handed out before it. While the clock still gives that
// stem, sleeps until its next tenth of a second and reads it again. With a
// capacity below 13, destination becomes the empty string and nothing else
// happens. Returns destination.
char* make_pop_file_name(char* destination, std::uint32_t capacity,
                         PreviousName& previous, const Clock& clock);

#endif

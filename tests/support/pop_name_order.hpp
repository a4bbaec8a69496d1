// Orders POP file names as the clock made them: the name read as a base-36
// number ('A'-'Z' are 0-25, '0'-'9' are 26-35), year first. Within a run this
// is creation order unless the run crosses the end of a month.
#ifndef FOLDER2POP_TESTS_POP_NAME_ORDER_HPP
#define FOLDER2POP_TESTS_POP_NAME_ORDER_HPP

#include <cstdint>
#include <string>

#include "naming/pop_file_name.hpp"

inline std::uint64_t pop_name_order(const std::string& name)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < POP_NAME_STEM_LENGTH && i < name.size(); ++i) {
        const char c = name[i];
        value = value * 36 + static_cast<std::uint64_t>(c >= 'A' ? c - 'A' : c - '0' + 26);
    }
    return value;
}

#endif

// The whole of a run: banner, argument check, conversion of the folder into POP
// files, and the one message that says how it ended.
#ifndef FOLDER2POP_APP_CONVERSION_RUN_HPP
#define FOLDER2POP_APP_CONVERSION_RUN_HPP

#include <cstddef>

#include "app/run_status.hpp"
#include "platform/platform.hpp"

// The longest directory argument: with "/", a 12-character name and a NUL the
// path of a POP file fills PATH_BUFFER_SIZE exactly.
constexpr std::size_t MAX_DIRECTORY_LENGTH = 242;
constexpr std::size_t PATH_BUFFER_SIZE = 256;

// Converts argv[1] into POP files in the directory argv[2]; the result is the
// exit code. Uses the system's clock, files and console.
RunStatus run_conversion(int argc, const char* const* argv);

// The same on a platform of the caller's choice.
RunStatus run_conversion(int argc, const char* const* argv, const Platform& platform);

#endif

// The console: standard error, unbuffered, written as text. Standard output and
// standard input are never used.
#ifndef FOLDER2POP_PLATFORM_CONSOLE_HPP
#define FOLDER2POP_PLATFORM_CONSOLE_HPP

#include <cstddef>

struct Console {
    // Writes the bytes at once; each line feed goes out as the platform's
    // line end. The outcome is not reported: there is nowhere left to say it.
    void (*write_error)(const char* text, std::size_t length);
};

const Console& system_console();

#endif

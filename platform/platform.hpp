// Everything the conversion needs from the operating system, in one bundle, so
// that tests can replace any piece of it.
#ifndef FOLDER2POP_PLATFORM_PLATFORM_HPP
#define FOLDER2POP_PLATFORM_PLATFORM_HPP

#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"

struct Platform {
    const Clock* clock;
    const FileSystem* files;
    const Console* console;
    const char* (*program_path)(const char* argv0);
};

const Platform& system_platform();

#endif

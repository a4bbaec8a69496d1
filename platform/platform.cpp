// The system's own platform: whichever implementation the build picked.
#include "platform/platform.hpp"

#include "platform/program_path.hpp"

const Platform& system_platform()
{
    static const Platform platform = {&system_clock(), &system_files(),
                                      &system_console(), program_path};
    return platform;
}

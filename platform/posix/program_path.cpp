// The program's own path on POSIX: the kernel's /proc/self/exe where it can be
// read, else whatever the caller was started as.
#include "platform/program_path.hpp"

#include <cstddef>

#include <unistd.h>

namespace {

constexpr std::size_t PROGRAM_PATH_CAPACITY = 4096;
char program_path_buffer[PROGRAM_PATH_CAPACITY];

bool read_proc_self_exe(char* buffer, std::size_t capacity)
{
    const ssize_t length = readlink("/proc/self/exe", buffer, capacity - 1);
    // A link that fills the buffer may have been cut short: not trusted.
    if (length <= 0 || static_cast<std::size_t>(length) >= capacity - 1) {
        return false;
    }
    buffer[length] = '\0';
    return true;
}

}  // namespace

const char* program_path(const char* argv0)
{
    if (read_proc_self_exe(program_path_buffer, PROGRAM_PATH_CAPACITY)) {
        return program_path_buffer;
    }
    return argv0 != nullptr ? argv0 : "";
}

// The program's own path on Windows: GetModuleFileNameA for the running
// program, else whatever the caller was started as.
#include "platform/program_path.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

constexpr DWORD PROGRAM_PATH_CAPACITY = 4096;
char program_path_buffer[PROGRAM_PATH_CAPACITY];

bool read_module_file_name(char* buffer, DWORD capacity)
{
    const DWORD length = GetModuleFileNameA(nullptr, buffer, capacity);
    // A name that fills the buffer has been cut short: not trusted.
    return length > 0 && length < capacity;
}

}  // namespace

const char* program_path(const char* argv0)
{
    if (read_module_file_name(program_path_buffer, PROGRAM_PATH_CAPACITY)) {
        return program_path_buffer;
    }
    return argv0 != nullptr ? argv0 : "";
}

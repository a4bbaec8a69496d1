// Standard error on Windows: WriteFile straight to the handle, no buffer, with
// each line feed sent as CR LF as a text stream would. Done here rather than by
// the C runtime's text mode so that no runtime buffer or state sits in between.
#include "platform/console.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

constexpr std::size_t CHUNK_SIZE = 256;

void write_bytes(HANDLE handle, const char* bytes, std::size_t count)
{
    while (count > 0) {
        DWORD put = 0;
        if (!WriteFile(handle, bytes, static_cast<DWORD>(count), &put, nullptr) || put == 0) {
            return;
        }
        bytes += put;
        count -= put;
    }
}

void write_windows_error(const char* text, std::size_t length)
{
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    // Translated a chunk at a time; a chunk always has room for one more CR LF.
    char chunk[CHUNK_SIZE];
    std::size_t used = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '\n') {
            chunk[used++] = '\r';
        }
        chunk[used++] = text[i];
        if (used >= CHUNK_SIZE - 1) {
            write_bytes(handle, chunk, used);
            used = 0;
        }
    }
    write_bytes(handle, chunk, used);
}

const Console windows_console = {write_windows_error};

}  // namespace

const Console& system_console()
{
    return windows_console;
}

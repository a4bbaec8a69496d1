// Standard error on POSIX: write(2) straight to descriptor 2, no buffer. A line
// feed is already the platform's line end.
#include "platform/console.hpp"

#include <cerrno>
#include <unistd.h>

namespace {

void write_posix_error(const char* text, std::size_t length)
{
    while (length > 0) {
        const ssize_t put = write(STDERR_FILENO, text, length);
        if (put > 0) {
            text += put;
            length -= static_cast<std::size_t>(put);
        } else if (put == 0 || errno != EINTR) {
            return;
        }
    }
}

const Console posix_console = {write_posix_error};

}  // namespace

const Console& system_console()
{
    return posix_console;
}

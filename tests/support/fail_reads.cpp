// Preloaded into the program by end-to-end tests: once
// FOLDER2POP_FAIL_READ_AFTER bytes have been read from files, every further
// read fails with EIO, as a failing disk would.
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

long long read_budget()
{
    const char* setting = std::getenv("FOLDER2POP_FAIL_READ_AFTER");
    return setting != nullptr ? std::atoll(setting) : -1;
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    static const ReadFunction real_read =
        reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    static long long budget = read_budget();
    if (budget < 0 || fd <= STDERR_FILENO) {
        return real_read(fd, buffer, count);
    }
    if (budget == 0) {
        errno = EIO;
        return -1;
    }
    if (count > static_cast<size_t>(budget)) {
        count = static_cast<size_t>(budget);
    }
    const ssize_t got = real_read(fd, buffer, count);
    if (got > 0) {
        budget -= got;
    }
    return got;
}

// POSIX files through raw descriptors: no stdio buffering in between, so every
// failure of the system shows in the result.
#include "platform/files.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int descriptor(FileHandle file)
{
    return static_cast<int>(file);
}

bool open_posix_for_reading(const char* path, FileHandle& file)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        close(fd);
        return false;
    }
    file = fd;
    return true;
}

ReadOutcome read_posix(FileHandle file, char* buffer, std::size_t capacity,
                       std::size_t& count)
{
    for (;;) {
        const ssize_t got = read(descriptor(file), buffer, capacity);
        if (got > 0) {
            count = static_cast<std::size_t>(got);
            return READ_DONE;
        }
        count = 0;
        if (got == 0) {
            return READ_END;
        }
        if (errno != EINTR) {
            return READ_FAILED;
        }
    }
}

CreateOutcome create_posix_new(const char* path, FileHandle& file)
{
    // O_EXCL: an existing file, or a symbolic link planted under the name,
    // is never opened, let alone emptied.
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return errno == EEXIST ? CREATE_EXISTS : CREATE_FAILED;
    }
    file = fd;
    return CREATE_DONE;
}

bool write_posix_all(FileHandle file, const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t put = write(descriptor(file), bytes, count);
        if (put > 0) {
            bytes += put;
            count -= static_cast<std::size_t>(put);
        } else if (put == 0 || errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool close_posix(FileHandle file)
{
    return close(descriptor(file)) == 0;
}

bool remove_posix(const char* path)
{
    return unlink(path) == 0;
}

const FileSystem posix_files = {open_posix_for_reading, read_posix,
                                create_posix_new,       write_posix_all,
                                close_posix,            remove_posix};

}  // namespace

const FileSystem& system_files()
{
    return posix_files;
}

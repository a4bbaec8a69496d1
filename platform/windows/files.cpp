// Windows files through the ANSI API: paths go to the system as the byte
// strings they came in, and bytes are read and written raw, with no text mode
// and no buffer of the runtime in between.
#include "platform/files.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// Other programs may go on reading and writing a file while we have it open.
constexpr DWORD SHARED_WITH_OTHERS = FILE_SHARE_READ | FILE_SHARE_WRITE;
// The most one ReadFile or WriteFile call is asked to move.
constexpr std::size_t LARGEST_TRANSFER = 1U << 30;

HANDLE handle_of(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

FileHandle file_of(HANDLE handle)
{
    return reinterpret_cast<FileHandle>(handle);
}

DWORD transfer_size(std::size_t count)
{
    return static_cast<DWORD>(count < LARGEST_TRANSFER ? count : LARGEST_TRANSFER);
}

bool is_directory(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION information{};
    // Pipes and devices have no such information; they are read like files.
    return GetFileInformationByHandle(handle, &information) &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool open_windows_for_reading(const char* path, FileHandle& file)
{
    const HANDLE handle = CreateFileA(path, GENERIC_READ, SHARED_WITH_OTHERS, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (is_directory(handle)) {
        CloseHandle(handle);
        return false;
    }
    file = file_of(handle);
    return true;
}

ReadOutcome read_windows(FileHandle file, char* buffer, std::size_t capacity,
                         std::size_t& count)
{
    DWORD got = 0;
    count = 0;
    if (!ReadFile(handle_of(file), buffer, transfer_size(capacity), &got, nullptr)) {
        // A pipe whose writer has gone is at its end, not broken.
        return GetLastError() == ERROR_BROKEN_PIPE ? READ_END : READ_FAILED;
    }
    if (got == 0) {
        return READ_END;
    }
    count = got;
    return READ_DONE;
}

CreateOutcome create_windows_new(const char* path, FileHandle& file)
{
    // CREATE_NEW never opens what exists under the name, a link included.
    // Windows has no owner-only mode bits to give the file: it inherits the
    // access rules of its directory.
    const HANDLE handle = CreateFileA(path, GENERIC_WRITE, SHARED_WITH_OTHERS, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? CREATE_EXISTS
                                                                           : CREATE_FAILED;
    }
    file = file_of(handle);
    return CREATE_DONE;
}

bool write_windows_all(FileHandle file, const char* bytes, std::size_t count)
{
    while (count > 0) {
        DWORD put = 0;
        if (!WriteFile(handle_of(file), bytes, transfer_size(count), &put, nullptr) ||
            put == 0) {
            return false;
        }
        bytes += put;
        count -= put;
    }
    return true;
}

bool close_windows(FileHandle file)
{
    return CloseHandle(handle_of(file)) != 0;
}

bool remove_windows(const char* path)
{
    return DeleteFileA(path) != 0;
}

const FileSystem windows_files = {open_windows_for_reading, read_windows,
                                  create_windows_new,       write_windows_all,
                                  close_windows,            remove_windows};

}  // namespace

const FileSystem& system_files()
{
    return windows_files;
}

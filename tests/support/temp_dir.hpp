// A scoped temporary directory and small file helpers for tests.
#ifndef FOLDER2POP_TESTS_TEMP_DIR_HPP
#define FOLDER2POP_TESTS_TEMP_DIR_HPP

#include <filesystem>
#include <string>
#include <vector>

// A new, empty directory that is removed with everything in it at the end of
// its scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);

// The names of the entries of a directory, sorted bytewise.
std::vector<std::string> list_directory(const std::string& path);

#endif

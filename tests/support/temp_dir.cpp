// Scoped temporary directories and whole-file helpers for tests.
#include "tests/support/temp_dir.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

#include <gtest/gtest.h>

TempDir::TempDir()
{
    std::string pattern = testing::TempDir() + "folder2pop-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed: " + pattern);
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    // Tests may have taken write permission away; give it back to clean up.
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
            chmod(entry.path().c_str(), 0700);
        }
    }
    chmod(path_.c_str(), 0700);
    std::filesystem::remove_all(path_, ignored);
}

void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> list_directory(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

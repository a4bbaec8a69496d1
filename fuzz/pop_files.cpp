// The POP files a folder must give, by the line rule alone, and those a run
// made, in name order.
#include "fuzz/pop_files.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "fuzz/scratch_files.hpp"
#include "naming/pop_file_name.hpp"
#include "tests/support/pop_name_order.hpp"

namespace {

constexpr std::size_t MAX_LINE = 32766;

bool is_quoted_from_line(std::string_view line)
{
    if (line.size() < 5 || line[0] != '>') {
        return false;
    }
    std::string lower(line.substr(1, 4));
    for (char& c : lower) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lower == "from";
}

}  // namespace

std::vector<std::string> expected_pop_files(const std::string& text)
{
    std::vector<std::string> files;
    bool first_piece = true;
    bool in_separator_line = false;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t line_feed = text.find('\n', start);
        const std::size_t end = std::min(
            {line_feed == std::string::npos ? text.size() : line_feed + 1, start + MAX_LINE});
        const std::string_view piece(text.data() + start, end - start);
        if (first_piece) {
            in_separator_line = piece.starts_with("From - ");
            if (in_separator_line) {
                files.emplace_back();
            }
        }
        if (!in_separator_line && !files.empty()) {
            files.back() += piece.substr(first_piece && is_quoted_from_line(piece) ? 1 : 0);
        }
        first_piece = piece.back() == '\n';
        start = end;
    }
    return files;
}

std::vector<std::string> take_pop_files(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return pop_name_order(a) < pop_name_order(b);
    });
    std::vector<std::string> contents;
    for (const std::string& name : names) {
        check(name.size() == 12 && name.ends_with(".POP"), "POP files are all that is made");
        std::ifstream in(directory + "/" + name, std::ios::binary);
        contents.emplace_back(std::istreambuf_iterator<char>(in),
                              std::istreambuf_iterator<char>());
    }
    std::filesystem::remove_all(directory);
    return contents;
}


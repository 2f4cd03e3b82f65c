#include "plain_reader.h"

#include <cstdio>
#include <cstdlib>

namespace veltra::bench {

namespace {

constexpr int TOKEN_SIZE = 80;

bool is_number_character(int c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; }

// The longest prefix of the form -?digits[.digits] (at least one digit), or 0.
double convert(char* token, int length) {
    int end = token[0] == '-' ? 1 : 0;
    int digits = 0;
    bool point = false;
    int valid = 0;
    for (; end < length; ++end) {
        if (token[end] >= '0' && token[end] <= '9') {
            ++digits;
        } else if (token[end] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        if (digits > 0) valid = end + 1;
    }
    if (valid == 0) return 0.0;
    token[valid] = '\0';
    return std::strtod(token, nullptr);
}

}  // namespace

bool read_matrix_file_by_characters(const std::string& path, core::Matrix& matrix, std::int32_t rows,
                                    std::int32_t cols) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return false;
    char token[TOKEN_SIZE + 1];
    int length = 0;
    std::int32_t row = 0;
    std::int32_t column = 0;
    for (int c = std::getc(file); c != EOF && row < rows; c = std::getc(file)) {
        if (is_number_character(c)) {
            if (length < TOKEN_SIZE) token[length++] = static_cast<char>(c);
        } else if (length > 0) {
            matrix[row][column] = convert(token, length);
            length = 0;
            if (++column == cols) {
                column = 0;
                ++row;
            }
        }
    }
    std::fclose(file);
    return row == rows;
}

}  // namespace veltra::bench

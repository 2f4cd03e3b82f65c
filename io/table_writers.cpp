#include "io/table_writers.h"

#include "io/text_file_writer.h"

namespace veltra::io {

namespace {

void write_text(TextFileWriter& file, const std::string& text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' ' ||
                                           text.front() == '\t' || text.back() == '\t'));
    if (!quoted) {
        file.print("%s", text.c_str());
        return;
    }
    std::string escaped = "\"";
    for (const char c : text) {
        escaped += c;
        if (c == '"') escaped += '"';
    }
    escaped += '"';
    file.print("%s", escaped.c_str());
}

void write_cell(TextFileWriter& file, const TableCell& cell) {
    if (const auto* text = std::get_if<std::string>(&cell)) {
        write_text(file, *text);
    } else if (const auto* real = std::get_if<double>(&cell)) {
        file.print("%.17g", *real);
    } else {
        file.print("%lld", static_cast<long long>(std::get<std::int64_t>(cell)));
    }
}

}  // namespace

bool write_table_file(const std::string& path, const std::vector<std::string>& header,
                      const std::vector<std::vector<TableCell>>& rows) {
    TextFileWriter file(path, LineBreak::lf);
    for (std::size_t c = 0; c < header.size(); ++c) {
        if (c > 0) file.print(",");
        write_text(file, header[c]);
    }
    file.print("\n");
    for (const std::vector<TableCell>& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) file.print(",");
            write_cell(file, row[c]);
        }
        file.print("\n");
    }
    return file.close();
}

}  // namespace veltra::io

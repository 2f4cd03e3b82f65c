#pragma once

#include <string>

#include "core/table_import.h"
#include "io/table_reader.h"

namespace veltra::ui {

// The message of a refused table: where (line, column and its name) and
// what was found, e.g. `Line 7, column 3 (petal_length): "5,1x" is not a
// number.`
std::string table_error_message(const io::TableError& error);

// The message of a successful table import, e.g. "150 datavectors, 4
// variables read (label column: species)."
std::string table_import_message(const core::TableImportReport& report);

// "comma", "semicolon", "tab" or "blanks".
std::string delimiter_name(io::TableDelimiter delimiter);

}  // namespace veltra::ui

#pragma once

#include <QString>
#include <string_view>

namespace veltra::ui::qt {

// The program's texts are UTF-8.
inline QString to_qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace veltra::ui::qt

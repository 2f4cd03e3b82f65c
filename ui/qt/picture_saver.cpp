#include "ui/qt/picture_saver.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "io/atomic_file.h"
#include "ui/file_filters.h"
#include "ui/host.h"
#include "ui/messages.h"
#include "ui/qt/display_list_painter.h"
#include "ui/svg_writer.h"

namespace veltra::ui::qt {

namespace {

bool ends_with(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[text.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != suffix[i]) return false;
    }
    return true;
}

}  // namespace

bool write_picture(const std::string& path, const PictureSource& source, int width, int height,
                   const QFont& font) {
    if (ends_with(path, ".svg")) {
        const MonospaceMeasurer measurer;
        return write_svg_file(path, source(width, height, measurer), width, height, measurer);
    }
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        paint_display_list(painter, source(width, height, FontTextMeasurer(font)));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    return io::write_file_atomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void save_picture(ShellHost& host, const QWidget& window, const PictureSource& source) {
    std::optional<std::string> path = host.save_file_dialog(FILTER_PICTURE);
    if (!path) return;
    if (!ends_with(*path, ".png") && !ends_with(*path, ".svg")) *path += ".png";
    host.begin_wait_cursor();
    const bool written = write_picture(*path, source, window.width(), window.height(), window.font());
    host.end_wait_cursor();
    if (!written) error_box(host, "Can not write picture!", "Error Writing File");
}

}  // namespace veltra::ui::qt

#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <string_view>

class QTextBrowser;

namespace veltra::ui::qt {

// The help topic of a keyword ("size map", "SOM training", ...) among the
// topics shipped inside the program; the contents for an empty or unknown
// keyword.
QUrl help_topic_url(std::string_view keyword);

// Our help: a window that shows the shipped HTML topics and follows their
// links.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent);

    // Shows the topic of `keyword` (the contents when empty) and raises the
    // window.
    void show_topic(std::string_view keyword);
    QUrl current_topic() const;

private:
    QTextBrowser* browser_;
};

}  // namespace veltra::ui::qt

#include "ui/qt/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "ui/qt/artwork.h"
#include "ui/qt/resources.h"

namespace veltra::ui::qt {

namespace {

constexpr std::array<std::pair<std::string_view, const char*>, 14> TOPICS = {{
    {"import datavectors", "import_datavectors.html"},
    {"size map", "size_map.html"},
    {"random weights", "random_weights.html"},
    {"pick datapoints", "pick_datapoints.html"},
    {"pairwise exchange", "pairwise_exchange.html"},
    {"SOM training", "som_training.html"},
    {"recall frequency", "recall_frequency.html"},
    {"recall assignment", "recall_assignment.html"},
    {"import table", "import_table.html"},
    {"hit map", "hit_map.html"},
    {"u-matrix", "u_matrix.html"},
    {"component planes", "component_planes.html"},
    {"label map", "label_map.html"},
    {"measures chart", "measures_chart.html"},
}};

}  // namespace

QUrl help_topic_url(std::string_view keyword) {
    const char* file = "contents.html";
    for (const auto& [key, topic] : TOPICS) {
        if (key == keyword) file = topic;
    }
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(file));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    init_resources();
    setObjectName(QStringLiteral("help_window"));
    setWindowTitle(QStringLiteral("Veltra Help"));
    setWindowIcon(application_icon());
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(false);
    // One style sheet serves every topic.
    QFile style(QStringLiteral(":/help/help.css"));
    if (style.open(QIODevice::ReadOnly)) {
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(620, 520);
}

void HelpWindow::show_topic(std::string_view keyword) {
    browser_->setSource(help_topic_url(keyword));
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::current_topic() const { return browser_->source(); }

}  // namespace veltra::ui::qt

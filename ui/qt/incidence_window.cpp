#include "ui/qt/incidence_window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "ui/dialog_templates.h"
#include "ui/qt/qt_text.h"

namespace veltra::ui::qt {

namespace {

// Both scroll bars move by two lines or two characters per page, whatever
// the window's size.
constexpr int PAGE_STEP = 2;

// The table's drawing surface: the visible lines from the first visible row
// at y = i * line height, each from the first visible column.
class TablePane final : public QWidget {
public:
    TablePane(const IncidenceViewer& viewer, const int& line_height, QWidget* parent)
        : QWidget(parent), viewer_(viewer), line_height_(line_height) {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int ascent = painter.fontMetrics().ascent();
        const int lines = viewer_.line_count() - viewer_.first_visible_row();
        for (int i = 0; i < lines; ++i) {
            const int top = i * line_height_;
            if (top > height()) break;
            painter.drawText(QPoint(0, top + ascent), to_qstring(viewer_.visible_line(i)));
        }
    }

private:
    const IncidenceViewer& viewer_;
    const int& line_height_;
};

ScrollRequest request_of(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return ScrollRequest::line_back;
        case QAbstractSlider::SliderSingleStepAdd:
            return ScrollRequest::line_forward;
        case QAbstractSlider::SliderPageStepSub:
            return ScrollRequest::page_back;
        case QAbstractSlider::SliderPageStepAdd:
            return ScrollRequest::page_forward;
        case QAbstractSlider::SliderMove:
            return ScrollRequest::thumb;
        default:
            return ScrollRequest::other;
    }
}

QScrollBar* make_bar(Qt::Orientation orientation, int maximum, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(PAGE_STEP);
    bar->setValue(0);
    bar->setFocusPolicy(Qt::NoFocus);
    return bar;
}

}  // namespace

IncidenceWindow::IncidenceWindow(IncidenceViewer& viewer, QWidget* owner)
    : TemplateDialog(INCIDENCE, owner),
      viewer_(viewer),
      vertical_(make_bar(Qt::Vertical, viewer.max_row(), this)),
      horizontal_(make_bar(Qt::Horizontal, viewer.max_column(), this)),
      line_height_(QFontMetrics(font()).height()) {
    setObjectName(QStringLiteral("incidence_window"));
    table_ = new TablePane(viewer_, line_height_, this);
    table_->setObjectName(QStringLiteral("incidence_table"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(table_, 0, 0);
    layout->addWidget(vertical_, 0, 1);
    layout->addWidget(horizontal_, 1, 0);

    connect(vertical_, &QScrollBar::actionTriggered, this,
            [this](int action) { on_action(ScrollBar::vertical, action); });
    connect(horizontal_, &QScrollBar::actionTriggered, this,
            [this](int action) { on_action(ScrollBar::horizontal, action); });
    connect(this, &TemplateDialog::close_requested, this, &TemplateDialog::end_modal);
    for (QWidget* part : {table_, static_cast<QWidget*>(vertical_), static_cast<QWidget*>(horizontal_)}) {
        part->installEventFilter(this);
    }
}

void IncidenceWindow::keyPressEvent(QKeyEvent* event) {
    static const std::pair<int, ScrollKey> KEYS[] = {
        {Qt::Key_Up, ScrollKey::up},          {Qt::Key_Down, ScrollKey::down},
        {Qt::Key_Left, ScrollKey::left},      {Qt::Key_Right, ScrollKey::right},
        {Qt::Key_PageUp, ScrollKey::page_up}, {Qt::Key_PageDown, ScrollKey::page_down},
        {Qt::Key_Home, ScrollKey::home},      {Qt::Key_End, ScrollKey::end},
    };
    for (const auto& [key, scroll_key] : KEYS) {
        if (event->key() == key) {
            viewer_.scroll_by_key(scroll_key);
            show_positions();
            return;
        }
    }
    TemplateDialog::keyPressEvent(event);
}

// The wheel over the table or a scroll bar moves the viewer line by line, as
// many lines per notch as the desktop asks; over the horizontal bar, and
// for a sideways wheel, it moves the columns.
bool IncidenceWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return TemplateDialog::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    const bool sideways = watched == horizontal_ || (delta.y() == 0 && delta.x() != 0);
    const ScrollBar bar = sideways ? ScrollBar::horizontal : ScrollBar::vertical;
    int& pending = sideways ? pending_wheel_x_ : pending_wheel_y_;
    // Wheels turn down (or right) with negative angles.
    pending -= sideways && delta.y() == 0 ? delta.x() : (delta.y() != 0 ? delta.y() : delta.x());
    const int notches = pending / QWheelEvent::DefaultDeltasPerStep;
    pending -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0) {
        viewer_.scroll_by_lines(bar, notches * QApplication::wheelScrollLines());
        show_positions();
    }
    return true;
}

void IncidenceWindow::show_positions() {
    vertical_->setValue(viewer_.first_visible_row());
    horizontal_->setValue(viewer_.first_visible_column());
    table_->update();
}

QScrollBar* IncidenceWindow::scroll_bar(ScrollBar bar) const noexcept {
    return bar == ScrollBar::vertical ? vertical_ : horizontal_;
}

void IncidenceWindow::on_action(ScrollBar bar, int action) {
    QScrollBar* scroll = scroll_bar(bar);
    viewer_.scroll(bar, request_of(action), scroll->sliderPosition());
    // The viewer decides where the box goes; this overrides the bar's own
    // step for the action in progress.
    scroll->setSliderPosition(bar == ScrollBar::vertical ? viewer_.first_visible_row()
                                                         : viewer_.first_visible_column());
    table_->update();
}

}  // namespace veltra::ui::qt

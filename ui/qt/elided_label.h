#pragma once

#include <QLabel>

namespace veltra::ui::qt {

// A one-line static text that keeps its whole text but shows, when that is
// wider than the control, the text elided in the middle (so that both the
// start of a path and its file name stay visible), with the whole text as
// its tooltip.
class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    ElidedLabel(const QString& text, QWidget* parent);

    const QString& full_text() const noexcept { return full_text_; }
    void set_full_text(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString full_text_;
};

}  // namespace veltra::ui::qt

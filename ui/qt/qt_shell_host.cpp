#include "ui/qt/qt_shell_host.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ui/qt/incidence_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_saver.h"
#include "ui/qt/qt_dialog_host.h"
#include "ui/qt/status_box.h"
#include "ui/qt/table_preview.h"
#include "ui/qt/view_window.h"

namespace veltra::ui::qt {

QtShellHost::QtShellHost(MainWindow& window, QtHostHooks hooks)
    : window_(window),
      hooks_(std::move(hooks)),
      folder_(QDir::homePath()),
      messages_([this](const MessageBoxRequest& request) { return hooks_.message_box(request); }) {}

QWidget* QtShellHost::active_window() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : &window_;
}

int QtShellHost::run_modal(DialogProcedure& procedure) {
    QtDialogHost dialog(procedure, &window_, messages_);
    return dialog.run(hooks_.drive_dialog);
}

std::unique_ptr<StatusBox> QtShellHost::open_status_box(const DialogTemplate& box, Placement placement) {
    return std::make_unique<QtStatusBox>(box, placement, &window_);
}

void QtShellHost::run_incidence_viewer(IncidenceViewer& viewer) {
    IncidenceWindow incidence(viewer, &window_);
    incidence.run_modal(hooks_.drive_dialog);
}

int QtShellHost::run_table_import(TableImportDialog& dialog) {
    QtDialogHost host(dialog, &window_, messages_);
    TablePreview preview(dialog, host.dialog());
    return host.run(hooks_.drive_dialog);
}

std::optional<std::string> QtShellHost::open_file_dialog(int filter_id) {
    return choose_file(FileDialogKind::open, filter_id);
}

std::optional<std::string> QtShellHost::save_file_dialog(int filter_id) {
    return choose_file(FileDialogKind::save, filter_id);
}

std::optional<std::string> QtShellHost::choose_file(FileDialogKind kind, int filter_id) {
    std::optional<std::string> path = hooks_.choose_file({active_window(), kind, filter_id, folder_});
    if (path) folder_ = QFileInfo(QFile::decodeName(QByteArray::fromStdString(*path))).absolutePath();
    return path;
}

void QtShellHost::show_help_topic(std::string_view keyword) {
    // Under a modal dialog only the dialog's own windows take input, so the
    // help window belongs to the dialog then.
    QWidget* owner = active_window();
    if (help_ != nullptr && help_->parentWidget() != owner) {
        help_->close();
        help_ = nullptr;
    }
    if (help_ == nullptr) help_ = new HelpWindow(owner);
    help_->show_topic(keyword);
}

void QtShellHost::show_view(ViewKind kind) {
    for (ViewWindow* view : view_windows()) {
        if (view->kind() == kind) {
            view->raise();
            view->activateWindow();
            return;
        }
    }
    auto* view = new ViewWindow(kind, window_.shell(), *this, &window_);
    views_.emplace_back(view);
    view->show();
}

std::vector<ViewWindow*> QtShellHost::view_windows() const {
    std::vector<ViewWindow*> open;
    for (const QPointer<ViewWindow>& view : views_) {
        if (view != nullptr) open.push_back(view);
    }
    return open;
}

void QtShellHost::follow_views() {
    for (ViewWindow* view : view_windows()) view->follow();
}

void QtShellHost::save_main_window_picture() {
    const Shell& shell = window_.shell();
    save_picture(*this, window_.canvas(), [&shell](int width, int height, const TextMeasurer& measurer) {
        return shell.paint(width, height, measurer).value_or(DisplayList{});
    });
}

void QtShellHost::repaint_main_window() { window_.canvas().repaint(); }

void QtShellHost::ViewFollower::convergence_step(double heterogeneity) {
    hooked().convergence_step(heterogeneity);
    host_.follow_views();
}

void QtShellHost::ViewFollower::trial_adopted(int trial, double heterogeneity) {
    hooked().trial_adopted(trial, heterogeneity);
    host_.follow_views();
}

void QtShellHost::ViewFollower::pairwise_done(int total, int successful, double simplicity) {
    hooked().pairwise_done(total, successful, simplicity);
    host_.follow_views();
}

void QtShellHost::ViewFollower::epoch_done(const algorithms::EpochReport& report) {
    hooked().epoch_done(report);
    host_.follow_views();
}

void QtShellHost::ViewFollower::projection_done(double stress, const double* x, const double* y, int n) {
    hooked().projection_done(stress, x, y, n);
}

void QtShellHost::close_main_window() { window_.close_without_asking(); }

Answer QtShellHost::message_box(std::string_view text, std::string_view caption, Icon icon, Buttons buttons,
                                bool default_no) {
    return messages_.message_box(&window_, text, caption, icon, buttons, default_no);
}

void QtShellHost::beep(Sound sound) { messages_.beep(sound); }

void QtShellHost::begin_wait_cursor() { messages_.begin_wait_cursor(); }

void QtShellHost::end_wait_cursor() { messages_.end_wait_cursor(); }

}  // namespace veltra::ui::qt

#pragma once

#include <QPointer>
#include <vector>

#include "ui/host.h"
#include "ui/qt/file_dialogs.h"
#include "ui/qt/help_window.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/template_dialog.h"

namespace veltra::ui::qt {

class MainWindow;
class ViewWindow;

// What the desktop program asks of the user, replaceable so that tests and
// the screenshot driver can answer without a person.
struct QtHostHooks {
    MessageBoxFunction message_box = show_message_box;
    FileChooser choose_file = qt::choose_file;
    // Called with every modal dialog once it is on screen; empty: the user
    // drives it.
    DialogDriver drive_dialog;
    // Told the raw results of the running operations; none: nobody listens.
    SessionObserver* observer = nullptr;
};

// The shell's window system: the main window, modal dialogs and status
// boxes from templates, the incidence viewer, the file dialogs and our help.
class QtShellHost final : public ShellHost {
public:
    QtShellHost(MainWindow& window, QtHostHooks hooks);

    int run_modal(DialogProcedure& procedure) override;
    std::unique_ptr<StatusBox> open_status_box(const DialogTemplate& box, Placement placement) override;
    void run_incidence_viewer(IncidenceViewer& viewer) override;
    int run_table_import(TableImportDialog& dialog) override;
    std::optional<std::string> open_file_dialog(int filter_id) override;
    std::optional<std::string> save_file_dialog(int filter_id) override;
    void show_help_topic(std::string_view keyword) override;
    void show_view(ViewKind kind) override;
    void save_main_window_picture() override;
    void repaint_main_window() override;
    void close_main_window() override;
    SessionObserver& observer() override { return follower_; }

    Answer message_box(std::string_view text, std::string_view caption, Icon icon,
                       Buttons buttons = Buttons::ok, bool default_no = false) override;
    void beep(Sound sound) override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;

    QtHostHooks& hooks() noexcept { return hooks_; }
    MessageService& messages() noexcept { return messages_; }
    // The help window last opened, or nullptr once it is closed.
    HelpWindow* help_window() const noexcept { return help_; }
    // The view windows open now.
    std::vector<ViewWindow*> view_windows() const;
    // Repaints every open view at once: the prototypes may have changed.
    void follow_views();

private:
    // The modal dialog on screen, else the main window.
    QWidget* active_window() const;
    // An Open or Save choice that starts in the folder of the last file
    // chosen in this run of the program (the home folder at first).
    std::optional<std::string> choose_file(FileDialogKind kind, int filter_id);

    // Hands the raw results to the hooks' observer, then lets the views
    // follow the prototypes they were computed from.
    class ViewFollower final : public SessionObserver {
    public:
        explicit ViewFollower(QtShellHost& host) : host_(host) {}
        void convergence_step(double heterogeneity) override;
        void trial_adopted(int trial, double heterogeneity) override;
        void pairwise_done(int total, int successful, double simplicity) override;
        void epoch_done(const algorithms::EpochReport& report) override;
        void projection_done(double stress, const double* x, const double* y, int n) override;

    private:
        SessionObserver& hooked() {
            return host_.hooks_.observer != nullptr ? *host_.hooks_.observer : none_;
        }
        QtShellHost& host_;
        SessionObserver none_;
    };

    MainWindow& window_;
    QtHostHooks hooks_;
    QString folder_;
    MessageService messages_;
    ViewFollower follower_{*this};
    QPointer<HelpWindow> help_;
    std::vector<QPointer<ViewWindow>> views_;
};

}  // namespace veltra::ui::qt

#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "algorithms/som_training.h"
#include "ui/dialog_template.h"

namespace veltra::ui {

enum class Icon { information, exclamation, error, question };
enum class Sound { exclamation, error, question };
enum class Buttons { ok, yes_no };
enum class Answer { ok, yes, no };

// What every window of the program can ask of the window system: message
// boxes owned by that window, beeps and the wait cursor.
class MessageHost {
public:
    virtual ~MessageHost() = default;

    // A modal message box owned by this window. With yes_no, `default_no`
    // makes No the default button.
    virtual Answer message_box(std::string_view text, std::string_view caption, Icon icon,
                               Buttons buttons = Buttons::ok, bool default_no = false) = 0;
    virtual void beep(Sound sound) = 0;
    // The hourglass over the previous cursor; end_wait_cursor restores it.
    virtual void begin_wait_cursor() = 0;
    virtual void end_wait_cursor() = 0;
};

// What a dialog procedure needs from its dialog window.
class DialogHost : public MessageHost {
public:
    // The control's whole text; readers apply the dialog's length limit.
    virtual std::string item_text(int id) = 0;
    virtual void set_item_text(int id, std::string_view text) = 0;
    // Closes the dialog; the modal run returns `result`.
    virtual void end_dialog(int result) = 0;
    virtual void center_on_screen() = 0;
    virtual void set_visible(bool visible) = 0;
    virtual void set_focus(int id) = 0;
};

// The behaviour of one dialog: reacts to opening and to presses by control id.
class DialogProcedure {
public:
    virtual ~DialogProcedure() = default;
    virtual const DialogTemplate& dialog_template() const = 0;
    // The dialog is being set up (before it is shown). It may end the dialog
    // at once, e.g. when a file choice is cancelled.
    virtual void on_open(DialogHost& host) = 0;
    // A button with this id was pressed.
    virtual void on_command(DialogHost& host, int id) = 0;
};

// A modeless status box (Fixpoint box, SOM Monitor) whose value fields repaint
// at once when set; it goes away when destroyed.
class StatusBox {
public:
    virtual ~StatusBox() = default;
    virtual void set_item_text(int id, std::string_view text) = 0;
    virtual void repaint() = 0;
};

enum class Placement { centered, bottom_right };

class IncidenceViewer;
class TableImportDialog;
enum class ViewKind;

// Raw results as the computations report them, for hosts that record them
// (the batch runner prints them); the desktop program ignores them.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    virtual void convergence_step(double /*heterogeneity*/) {}
    virtual void trial_adopted(int /*trial*/, double /*heterogeneity*/) {}
    virtual void pairwise_done(int /*total*/, int /*successful*/, double /*simplicity*/) {}
    virtual void epoch_done(const algorithms::EpochReport& /*report*/) {}
    virtual void projection_done(double /*stress*/, const double* /*x*/, const double* /*y*/, int /*n*/) {}
    // Asked after each training epoch has been reported: true ends the run
    // there, as though its epochs were all done.
    virtual bool stop_requested() { return false; }
};

// What the shell needs from the main window and the window system.
class ShellHost : public MessageHost {
public:
    // Runs a dialog modally over the main window; returns its end result.
    virtual int run_modal(DialogProcedure& procedure) = 0;
    // Opens a modeless status box from a template, shown and painted.
    virtual std::unique_ptr<StatusBox> open_status_box(const DialogTemplate& box, Placement placement) = 0;
    // Runs the incidence matrix viewer modally until it is closed.
    virtual void run_incidence_viewer(IncidenceViewer& viewer) = 0;
    // Runs the table import dialog; hosts that show its preview table
    // override this.
    virtual int run_table_import(TableImportDialog& dialog);

    // Open and Save dialogs with the filter of string table entry `filter_id`;
    // nullopt when cancelled.
    virtual std::optional<std::string> open_file_dialog(int filter_id) = 0;
    virtual std::optional<std::string> save_file_dialog(int filter_id) = 0;

    // The help at a keyword topic, or at its contents for an empty keyword.
    virtual void show_help_topic(std::string_view keyword) = 0;

    // Opens the window of a view, which follows every change of the
    // prototypes; hosts without windows ignore it.
    virtual void show_view(ViewKind /*kind*/) {}
    // Saves the main window's picture (the Sammon view) into a file the user
    // names, as PNG or SVG by its extension; hosts without windows ignore it.
    virtual void save_main_window_picture() {}

    // Paints the main window's client area now (the map view or white).
    virtual void repaint_main_window() = 0;
    // Destroys the main window; the program ends.
    virtual void close_main_window() = 0;

    virtual SessionObserver& observer() = 0;
};

}  // namespace veltra::ui

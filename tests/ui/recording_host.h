#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/headless_dialog.h"
#include "ui/host.h"
#include "ui/incidence_viewer.h"

namespace veltra::ui::testing {

// One scripted user action inside a modal dialog.
struct Action {
    enum Kind { type, press } kind;
    int id;
    std::string text;
};
inline Action type(int id, std::string text) { return {Action::type, id, std::move(text)}; }
inline Action press(int id) { return {Action::press, id, {}}; }

struct MessageRecord {
    std::string text;
    std::string caption;
    Icon icon;
};

// A shell host without windows. run_modal drives the dialog through a
// HeadlessDialog with the queued actions (until the dialog ends or the queue
// is empty); file dialogs return queued answers (cancelled when none is
// left); yes/no boxes return queued answers (No when none is left). Every
// call is written to `log` in order, e.g. "beep exclamation",
// "box Invalid Input|text", "wait begin", "status 112=...", "help size map".
class RecordingHost final : public ShellHost, public SessionObserver {
public:
    std::deque<Action> actions;
    std::deque<std::optional<std::string>> file_answers;
    std::deque<Answer> answers;

    std::vector<std::string> log;
    std::vector<MessageRecord> messages;
    int wait_depth = 0;
    bool main_window_closed = false;
    // The dialog of the last run_modal: its end, result and control texts.
    bool last_dialog_ended = false;
    int last_result = -1;
    std::map<int, std::string> last_texts;
    // The texts the status box shows now, by control id.
    std::map<int, std::string> status_texts;
    // The dialog that run_modal drives now; a test that drives a dialog
    // itself may set it.
    HeadlessDialog* current_dialog = nullptr;
    // Whether the current dialog was visible at each status box write.
    std::vector<bool> visible_at_status_write;
    // stop_requested() is true once an epoch with this count was reported
    // (never when 0).
    std::int32_t stop_after_epoch = 0;

    // The entries of `log` that start with `prefix`.
    std::vector<std::string> entries(const std::string& prefix) const;
    // Clears every record (not the queues).
    void clear_records();

    Answer message_box(std::string_view text, std::string_view caption, Icon icon,
                       Buttons buttons = Buttons::ok, bool default_no = false) override;
    void beep(Sound sound) override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;

    int run_modal(DialogProcedure& procedure) override;
    std::unique_ptr<StatusBox> open_status_box(const DialogTemplate& box, Placement placement) override;
    void run_incidence_viewer(IncidenceViewer& viewer) override;
    std::optional<std::string> open_file_dialog(int filter_id) override;
    std::optional<std::string> save_file_dialog(int filter_id) override;
    void show_help_topic(std::string_view keyword) override;
    void repaint_main_window() override;
    void close_main_window() override;
    SessionObserver& observer() override { return *this; }

    void convergence_step(double heterogeneity) override;
    void trial_adopted(int trial, double heterogeneity) override;
    void pairwise_done(int total, int successful, double simplicity) override;
    void epoch_done(const algorithms::EpochReport& report) override;
    void projection_done(double stress, const double* x, const double* y, int n) override;
    bool stop_requested() override { return stop_after_epoch > 0 && last_epoch_ >= stop_after_epoch; }

private:
    std::int32_t last_epoch_ = 0;
    std::optional<std::string> next_file_answer(const char* kind, int filter_id);
};

}  // namespace veltra::ui::testing

#include "recording_host.h"

#include "ui/field_reading.h"

namespace veltra::ui::testing {

namespace {

const char* sound_name(Sound sound) {
    switch (sound) {
        case Sound::exclamation:
            return "exclamation";
        case Sound::error:
            return "error";
        case Sound::question:
            return "question";
    }
    return "?";
}

class RecordingStatusBox final : public StatusBox {
public:
    RecordingStatusBox(RecordingHost& host, std::string name) : host_(host), name_(std::move(name)) {}
    ~RecordingStatusBox() override { host_.log.push_back("status close " + name_); }

    void set_item_text(int id, std::string_view text) override {
        host_.status_texts[id] = std::string(text);
        host_.log.push_back("status " + std::to_string(id) + "=" + std::string(text));
        if (on_write) on_write();
    }
    void repaint() override { host_.log.push_back("status repaint"); }

    std::function<void()> on_write;

private:
    RecordingHost& host_;
    std::string name_;
};

}  // namespace

std::vector<std::string> RecordingHost::entries(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& entry : log) {
        if (entry.starts_with(prefix)) found.push_back(entry);
    }
    return found;
}

void RecordingHost::clear_records() {
    log.clear();
    messages.clear();
    status_texts.clear();
    visible_at_status_write.clear();
}

Answer RecordingHost::message_box(std::string_view text, std::string_view caption, Icon icon, Buttons buttons,
                                  bool default_no) {
    messages.push_back({std::string(text), std::string(caption), icon});
    log.push_back("box " + std::string(caption) + "|" + std::string(text) +
                  (default_no ? "|default no" : ""));
    if (buttons == Buttons::ok) return Answer::ok;
    if (answers.empty()) return Answer::no;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingHost::beep(Sound sound) { log.push_back(std::string("beep ") + sound_name(sound)); }

void RecordingHost::begin_wait_cursor() {
    ++wait_depth;
    log.push_back("wait begin");
}

void RecordingHost::end_wait_cursor() {
    --wait_depth;
    log.push_back("wait end");
}

int RecordingHost::run_modal(DialogProcedure& procedure) {
    log.push_back("dialog " + std::string(procedure.dialog_template().name));
    HeadlessDialog dialog(procedure, *this);
    current_dialog = &dialog;
    if (dialog.open()) {
        while (!dialog.ended() && !actions.empty()) {
            const Action action = actions.front();
            actions.pop_front();
            if (action.kind == Action::type) {
                dialog.type(action.id, action.text);
            } else {
                dialog.press(action.id);
            }
        }
    }
    current_dialog = nullptr;
    last_dialog_ended = dialog.ended();
    last_result = dialog.ended() ? dialog.result() : -1;
    last_texts.clear();
    for (const ControlTemplate& control : procedure.dialog_template().controls) {
        if (control.id >= 0) last_texts[control.id] = dialog.item_text(control.id);
    }
    return last_result;
}

std::unique_ptr<StatusBox> RecordingHost::open_status_box(const DialogTemplate& box, Placement placement) {
    log.push_back("status open " + std::string(box.name) +
                  (placement == Placement::centered ? " centered" : " bottom_right"));
    status_texts.clear();
    auto status = std::make_unique<RecordingStatusBox>(*this, std::string(box.name));
    status->on_write = [this] {
        visible_at_status_write.push_back(current_dialog == nullptr || current_dialog->visible());
    };
    return status;
}

void RecordingHost::run_incidence_viewer(IncidenceViewer& viewer) {
    log.push_back("viewer " + std::to_string(viewer.line_count()));
}

std::optional<std::string> RecordingHost::next_file_answer(const char* kind, int filter_id) {
    log.push_back(std::string(kind) + " " + std::to_string(filter_id));
    if (file_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

std::optional<std::string> RecordingHost::open_file_dialog(int filter_id) {
    return next_file_answer("open", filter_id);
}

std::optional<std::string> RecordingHost::save_file_dialog(int filter_id) {
    return next_file_answer("save", filter_id);
}

void RecordingHost::show_help_topic(std::string_view keyword) {
    log.push_back("help " + std::string(keyword));
}

void RecordingHost::repaint_main_window() { log.push_back("repaint"); }

void RecordingHost::close_main_window() {
    main_window_closed = true;
    log.push_back("close main window");
}

void RecordingHost::convergence_step(double heterogeneity) {
    log.push_back("fixpoint " + format_real("%.17g", heterogeneity));
}

void RecordingHost::trial_adopted(int trial, double heterogeneity) {
    log.push_back("trial " + std::to_string(trial) + " " + format_real("%.17g", heterogeneity));
}

void RecordingHost::pairwise_done(int total, int successful, double simplicity) {
    log.push_back("pairwise " + std::to_string(total) + " " + std::to_string(successful) + " " +
                  format_real("%.17g", simplicity));
}

void RecordingHost::epoch_done(const algorithms::EpochReport& report) {
    log.push_back("epoch " + std::to_string(report.epochs) + " " + std::to_string(report.iterations));
    last_epoch_ = report.epochs;
}

void RecordingHost::projection_done(double stress, const double*, const double*, int n) {
    log.push_back("sammon " + format_real("%.17g", stress) + " " + std::to_string(n));
}

}  // namespace veltra::ui::testing

#include "batch/command_host.h"

#include "core/workspace.h"
#include "ui/headless_dialog.h"
#include "ui/incidence_viewer.h"
#include "ui/shell.h"

namespace veltra::batch {

namespace {

// The status boxes show nothing in a headless run: their values reach the
// host through the observer.
class SilentStatusBox final : public ui::StatusBox {
public:
    void set_item_text(int, std::string_view) override {}
    void repaint() override {}
};

}  // namespace

void CommandHost::begin_command(const BatchCommand& command) {
    command_ = &command;
    stopped_ = false;
}

ui::Answer CommandHost::message_box(std::string_view text, std::string_view caption, ui::Icon icon,
                                    ui::Buttons buttons, bool) {
    if (icon == ui::Icon::information) {
        events_.information(caption, text);
    } else {
        events_.refusal(caption, text, icon);
        stopped_ = true;
    }
    // No command asks a question; should one come, the safe answer.
    return buttons == ui::Buttons::yes_no ? ui::Answer::no : ui::Answer::ok;
}

int CommandHost::run_modal(ui::DialogProcedure& procedure) {
    ui::HeadlessDialog dialog(procedure, *this);
    if (!dialog.open() || !command_) return dialog.result();
    for (const DialogAction& action : command_->actions) {
        if (stopped_ || dialog.ended()) break;
        if (action.kind == DialogAction::Kind::type) {
            dialog.type(action.id, action.text);
        } else {
            dialog.press(action.id);
        }
    }
    return dialog.result();
}

std::unique_ptr<ui::StatusBox> CommandHost::open_status_box(const ui::DialogTemplate&, ui::Placement) {
    return std::make_unique<SilentStatusBox>();
}

void CommandHost::run_incidence_viewer(ui::IncidenceViewer& viewer) {
    for (int p = 0; p < viewer.line_count(); ++p) events_.incidence_line(viewer.line(p));
}

std::optional<std::string> CommandHost::open_file_dialog(int) {
    return command_ ? command_->path : std::nullopt;
}

std::optional<std::string> CommandHost::save_file_dialog(int) {
    return command_ ? command_->path : std::nullopt;
}

CommandOutcome run_menu_command(const BatchCommand& command, ui::Shell& shell, CommandHost& host) {
    core::Workspace& ws = shell.workspace();
    if (!ws.availability.is_enabled(command.command_id)) return CommandOutcome::not_available;
    host.begin_command(command);
    if (command.command_id == core::CMD_SAMMON_VISUALIZATION && ws.availability.is_visualization_on()) {
        shell.on_command(command.command_id);
    }
    shell.on_command(command.command_id);
    return host.stopped() ? CommandOutcome::stopped : CommandOutcome::ran;
}

}  // namespace veltra::batch

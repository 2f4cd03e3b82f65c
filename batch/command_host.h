#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "batch/command_table.h"
#include "ui/host.h"

namespace veltra::ui {
class Shell;
}

namespace veltra::batch {

// What a headless run of commands tells its host: the message boxes and the
// viewer's lines, beside the computations' raw results (SessionObserver).
// The batch host prints them; the Python module hands them back as values
// and exceptions.
class CommandEvents : public ui::SessionObserver {
public:
    // An information box.
    virtual void information(std::string_view caption, std::string_view text) = 0;
    // An Invalid Input, warning or error box: it stops the command.
    virtual void refusal(std::string_view caption, std::string_view text, ui::Icon icon) = 0;
    virtual void incidence_line(std::string_view line) = 0;
};

// The main window of a headless run. Dialogs run headless and get the current
// command's actions; file choices are answered with its path. Boxes, the
// viewer's text and the raw results go to `events`; after a refusal the
// command's remaining actions are dropped.
class CommandHost : public ui::ShellHost {
public:
    explicit CommandHost(CommandEvents& events) : events_(events) {}

    // Makes `command` the current one and clears the stop.
    void begin_command(const BatchCommand& command);
    // True once an Invalid Input or error box was shown for the current command.
    bool stopped() const noexcept { return stopped_; }

    ui::Answer message_box(std::string_view text, std::string_view caption, ui::Icon icon,
                           ui::Buttons buttons = ui::Buttons::ok, bool default_no = false) override;
    void beep(ui::Sound) override {}
    void begin_wait_cursor() override {}
    void end_wait_cursor() override {}

    int run_modal(ui::DialogProcedure& procedure) override;
    std::unique_ptr<ui::StatusBox> open_status_box(const ui::DialogTemplate& box,
                                                   ui::Placement placement) override;
    void run_incidence_viewer(ui::IncidenceViewer& viewer) override;
    std::optional<std::string> open_file_dialog(int filter_id) override;
    std::optional<std::string> save_file_dialog(int filter_id) override;
    void show_help_topic(std::string_view) override {}
    void repaint_main_window() override {}
    void close_main_window() override {}
    ui::SessionObserver& observer() override { return events_; }

private:
    CommandEvents& events_;
    const BatchCommand* command_ = nullptr;
    bool stopped_ = false;
};

enum class CommandOutcome { ran, not_available, stopped };

// Runs one command through the shell, whose host is `host`, as its menu
// command with its dialog: not_available when the menu command is grayed
// now (nothing runs), stopped when a box refused it. Sammon visualization
// already on is switched off first, so that it is recomputed by the same path
// as when it is switched on.
CommandOutcome run_menu_command(const BatchCommand& command, ui::Shell& shell, CommandHost& host);

}  // namespace veltra::batch

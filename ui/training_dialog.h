#pragma once

#include <array>
#include <string>

#include "algorithms/som_training.h"
#include "core/workspace.h"
#include "ui/host.h"
#include "ui/session.h"

namespace veltra::ui {

// The SOM Monitor's texts for one epoch report, in the order they are set:
// epochs, iterations, heterogeneity, simplicity, heterogeneity + simplicity,
// violations, inactive prototypes (the MONITOR_ ids).
struct MonitorField {
    int id;
    std::string text;
};
std::array<MonitorField, 7> monitor_fields(const algorithms::EpochReport& report);

// "SOM" (command 41): edits the session's training schedule and runs SOM
// training with it while `monitor` (the SOM Monitor) shows every epoch. Every
// value read from a field stays in the schedule, accepted or not. Stays open
// for further runs; ends with 0 through Done.
class TrainingDialog final : public DialogProcedure {
public:
    TrainingDialog(core::Workspace& ws, ShellHost& shell, Session& session, StatusBox& monitor)
        : ws_(ws), shell_(shell), session_(session), monitor_(monitor) {}

    const DialogTemplate& dialog_template() const override;
    void on_open(DialogHost& host) override;
    void on_command(DialogHost& host, int id) override;

private:
    // Reads and checks the four fields in order; false after the first
    // rejected one, whose message has been shown.
    bool read_schedule(DialogHost& host);
    void calculate(DialogHost& host);
    void show_epoch(const algorithms::EpochReport& report);
    std::int32_t max_order() const;

    core::Workspace& ws_;
    ShellHost& shell_;
    Session& session_;
    StatusBox& monitor_;
};

}  // namespace veltra::ui

#include "ui/session.h"

namespace veltra::ui {

void refresh_map_view(core::Workspace& ws, Session& session, ShellHost& host) {
    if (session.map_view.recompute(ws, host)) {
        host.observer().projection_done(session.map_view.stress(), ws.projection_x.data(),
                                        ws.projection_y.data(), ws.nprotos);
    }
    host.repaint_main_window();
}

}  // namespace veltra::ui

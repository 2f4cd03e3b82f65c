#pragma once

namespace veltra::ui::qt {

// Registers the resources built into the program (the help topics); the
// library that holds them is static, so nothing else would pull them in.
// Calling it again does nothing.
void init_resources();

}  // namespace veltra::ui::qt

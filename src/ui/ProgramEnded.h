#pragma once

namespace kov::ui {

// Thrown once the program has ended (exit button, a fatal failure, the window
// closed) to unwind the handler that was running, so that none of its code
// runs afterwards. Each handler entry point of the form catches it; it never
// reaches the toolkit.
struct ProgramEnded {};

}  // namespace kov::ui

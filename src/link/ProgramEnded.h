#pragma once

namespace kov::link {

// Thrown once the program has ended (exit button, a fatal failure, the window
// closed) to unwind the handler that was running, so that none of its code
// runs afterwards. Each handler entry point of the window catches it.
struct ProgramEnded {};

}  // namespace kov::link

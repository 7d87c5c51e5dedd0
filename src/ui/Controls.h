#pragma once

namespace kov::ui {

// The controls of the window that the handlers read or change, named as in
// the window's design.
enum class Entry { TxtXportIP, TxtXportPort, TxtStartFQ, TxtEndFQ, TxtInterval, TxtTime };
enum class Button { CmdMesStart, CmdMesBreak };
enum class Label { Label16, Label17, Label18, Label19, Label20, Label21 };

}  // namespace kov::ui

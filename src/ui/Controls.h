#pragma once

namespace kov::ui {

// The controls of the window that the handlers know, named as in the
// window's design: the entries they read or change, the buttons whose clicks
// reach them (the first two they enable and disable) and the labels they set.
enum class Entry { TxtXportIP, TxtXportPort, TxtStartFQ, TxtEndFQ, TxtInterval, TxtTime };
enum class Button { CmdMesStart, CmdMesBreak, CmdExit, BtnSaveMespara };
enum class Label { Label16, Label17, Label18, Label19, Label20, Label21 };

}  // namespace kov::ui

#pragma once

#include <cstddef>
#include <iterator>
#include <variant>

#include "display/GraphSurface.h"
#include "ui/Controls.h"

namespace kov::window {

enum class Kind { Label, Entry, Status, Check, Button, Graph };

// clang-format off
// The controls of the window, in the order of the layout table below.
enum class Control {
  Label3, Label25, TxtStartFQ, Label24, Label26, TxtEndFQ, Label23, Label10, TxtInterval, Label12,
  Label11, TxtTime, Label13, Label1, TxtXportIP, Label5, TxtXportPort, Text1, Label2, Chk1,
  BtnSaveMespara, CmdMesStart, CmdMesBreak, CmdExit, XportData, XportWF, Label19, Label20, Label21,
  Label17, Label16, Label18
};
// clang-format on

enum class Graph { Spectrum, Waterfall };

// What the handlers know a control by (an entry, a button, a label), or the
// graph it shows; none for the labels that only name their neighbours.
using Role = std::variant<std::monostate, ui::Entry, ui::Button, ui::Label, Graph>;

// One control of the window: its name (also its name in the toolkit), kind,
// design text, place and size in twips, font size in points (0: the window
// system's default font), and role.
struct ControlRow {
  Control id;
  const char* name;
  Kind kind;
  const char* text;
  int left, top, width, height;
  double pointSize;
  Role role = {};
};

inline constexpr ControlRow kControls[] = {
    {Control::Label3, "Label3", Kind::Label,
     "（測定周波数範囲：　２０ＭＨｚ以上、３０００ＭＨｚ以下）", 120, 240, 5172, 252, 10.8},
    {Control::Label25, "Label25", Kind::Label, "始点周波数", 240, 720, 1332, 252, 11.4},
    {Control::TxtStartFQ, "TxtStartFQ", Kind::Entry, "", 1680, 600, 735, 330, 11.4,
     ui::Entry::TxtStartFQ},
    {Control::Label24, "Label24", Kind::Label, "MHz", 2520, 720, 492, 252, 11.4},
    {Control::Label26, "Label26", Kind::Label, "終点周波数", 240, 1200, 1332, 252, 11.4},
    {Control::TxtEndFQ, "TxtEndFQ", Kind::Entry, "", 1680, 1080, 735, 330, 11.4,
     ui::Entry::TxtEndFQ},
    {Control::Label23, "Label23", Kind::Label, "MHz", 2520, 1200, 492, 252, 11.4},
    {Control::Label10, "Label10", Kind::Label, "ダウンロード間隔", 3360, 720, 1692, 252, 11.4},
    {Control::TxtInterval, "TxtInterval", Kind::Entry, "", 5160, 600, 852, 330, 11.4,
     ui::Entry::TxtInterval},
    {Control::Label12, "Label12", Kind::Label, "秒", 6120, 720, 252, 252, 11.4},
    {Control::Label11, "Label11", Kind::Label, "ダウンロード回数", 3360, 1200, 1692, 252, 11.4},
    {Control::TxtTime, "TxtTime", Kind::Entry, "", 5160, 1080, 852, 330, 11.4, ui::Entry::TxtTime},
    {Control::Label13, "Label13", Kind::Label, "回", 6120, 1200, 252, 252, 11.4},
    {Control::Label1, "Label1", Kind::Label, "XPort IP", 7320, 480, 1092, 252, 11.4},
    {Control::TxtXportIP, "TxtXportIP", Kind::Entry, "", 8640, 360, 1815, 336, 11.4,
     ui::Entry::TxtXportIP},
    {Control::Label5, "Label5", Kind::Label, "XPort Port", 7320, 840, 1092, 252, 10.8},
    {Control::TxtXportPort, "TxtXportPort", Kind::Entry, "", 8640, 840, 1812, 324, 10.8,
     ui::Entry::TxtXportPort},
    {Control::Text1, "Text1", Kind::Status, "", 360, 1680, 4215, 612, 0},
    {Control::Label2, "Label2", Kind::Label, "レベル表示", 4920, 1680, 1095, 255, 11.4},
    {Control::Chk1, "Chk1", Kind::Check, "-50dB", 5040, 2040, 975, 375, 11.4},
    {Control::BtnSaveMespara, "BtnSaveMespara", Kind::Button, "測定条件保存", 6600, 1800, 1572, 612,
     10.8, ui::Button::BtnSaveMespara},
    {Control::CmdMesStart, "CmdMesStart", Kind::Button, "測定開始", 9120, 1560, 1335, 735, 11.4,
     ui::Button::CmdMesStart},
    {Control::CmdMesBreak, "CmdMesBreak", Kind::Button, "測定中断", 9120, 2760, 1335, 615, 11.4,
     ui::Button::CmdMesBreak},
    {Control::CmdExit, "CmdExit", Kind::Button, "終了", 9120, 3840, 1332, 615, 11.4,
     ui::Button::CmdExit},
    {Control::XportData, "XportData", Kind::Graph, "", 120, 2520, 8775, 3615, 11.4,
     Graph::Spectrum},
    {Control::XportWF, "XportWF", Kind::Graph, "", 120, 6120, 8775, 3615, 11.4, Graph::Waterfall},
    {Control::Label19, "Label19", Kind::Label, "", 9000, 6120, 1335, 255, 11.4, ui::Label::Label19},
    {Control::Label20, "Label20", Kind::Label, "", 9000, 7800, 1335, 255, 11.4, ui::Label::Label20},
    {Control::Label21, "Label21", Kind::Label, "", 9000, 9360, 1335, 255, 11.4, ui::Label::Label21},
    {Control::Label17, "Label17", Kind::Label, "", 240, 9840, 1215, 255, 11.4, ui::Label::Label17},
    {Control::Label16, "Label16", Kind::Label, "", 3960, 9840, 1215, 255, 11.4, ui::Label::Label16},
    {Control::Label18, "Label18", Kind::Label, "", 8040, 9840, 975, 255, 11.4, ui::Label::Label18},
};

inline constexpr std::size_t kControlCount = std::size(kControls);

constexpr const ControlRow& RowOf(Control control) {
  return kControls[static_cast<std::size_t>(control)];
}

// The control of a role: of a ui::Entry, ui::Button, ui::Label or Graph.
template <typename R>
constexpr Control ControlOf(R role) {
  for (const ControlRow& c : kControls) {
    if (const R* r = std::get_if<R>(&c.role); r != nullptr && *r == role) return c.id;
  }
  return Control::Label3;  // unreachable: every role has its row (see the test)
}

inline constexpr const char* kFormName = "KOV_Xport_WindowsAPI_Form";
inline constexpr const char* kCaption = "KOV_Xport_WindowsAPI_広帯域電磁波測定";
inline constexpr const char* kMessageCaption = "KOV_Xport_WindowsAPI";

// The design face, then what stands in for it where the system lacks it: a
// Japanese Gothic face found on Linux. Windows maps the face itself.
inline constexpr const char* kFontFamilies[] = {"ＭＳ Ｐゴシック", "IPAPGothic",
                                                "Noto Sans CJK JP"};

// Client area: the design width, and tall enough for the labels under the
// waterfall (they end at 10095 twips) with the design's margin below them.
inline constexpr int kClientWidthTwips = 10656;
inline constexpr int kClientHeightTwips = 10215;

// Tab order of the controls that take the focus. Labels and graphs take none.
inline constexpr Control kTabOrder[] = {
    Control::CmdMesStart, Control::CmdExit,     Control::Chk1,           Control::CmdMesBreak,
    Control::Text1,       Control::TxtInterval, Control::TxtTime,        Control::TxtEndFQ,
    Control::TxtStartFQ,  Control::TxtXportIP,  Control::BtnSaveMespara, Control::TxtXportPort};
// The control with the focus when the window opens.
inline constexpr Control kFirstFocus = Control::CmdMesStart;

// Pixels of a length in twips on a screen of `dpi` dots per inch (15 twips a
// pixel at 96 dpi), cut to whole pixels.
constexpr int Pixels(int twips, int dpi) { return twips * dpi / 1440; }

// What a graph is drawn into on a screen of `dpi` dots per inch: as many
// pixels as the graph covers, first filled with its background.
struct GraphPixels {
  int width;
  int height;
  display::Rgb background;
};
GraphPixels PixelsOf(Graph graph, int dpi);

}  // namespace kov::window

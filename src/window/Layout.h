#pragma once

#include <string_view>

#include "ui/Controls.h"

namespace kov::window {

enum class Kind { Label, Entry, Status, Check, Button, Graph };

// One control of the window: its name (also its name in the toolkit), kind,
// design text, place and size in twips, and font size in points (0: the
// window system's default font).
struct ControlSpec {
  const char* name;
  Kind kind;
  const char* text;
  int left, top, width, height;
  double pointSize;
};

inline constexpr ControlSpec kControls[] = {
    {"Label3", Kind::Label, "（測定周波数範囲：　２０ＭＨｚ以上、３０００ＭＨｚ以下）", 120, 240,
     5172, 252, 10.8},
    {"Label25", Kind::Label, "始点周波数", 240, 720, 1332, 252, 11.4},
    {"TxtStartFQ", Kind::Entry, "", 1680, 600, 735, 330, 11.4},
    {"Label24", Kind::Label, "MHz", 2520, 720, 492, 252, 11.4},
    {"Label26", Kind::Label, "終点周波数", 240, 1200, 1332, 252, 11.4},
    {"TxtEndFQ", Kind::Entry, "", 1680, 1080, 735, 330, 11.4},
    {"Label23", Kind::Label, "MHz", 2520, 1200, 492, 252, 11.4},
    {"Label10", Kind::Label, "ダウンロード間隔", 3360, 720, 1692, 252, 11.4},
    {"TxtInterval", Kind::Entry, "", 5160, 600, 852, 330, 11.4},
    {"Label12", Kind::Label, "秒", 6120, 720, 252, 252, 11.4},
    {"Label11", Kind::Label, "ダウンロード回数", 3360, 1200, 1692, 252, 11.4},
    {"TxtTime", Kind::Entry, "", 5160, 1080, 852, 330, 11.4},
    {"Label13", Kind::Label, "回", 6120, 1200, 252, 252, 11.4},
    {"Label1", Kind::Label, "XPort IP", 7320, 480, 1092, 252, 11.4},
    {"TxtXportIP", Kind::Entry, "", 8640, 360, 1815, 336, 11.4},
    {"Label5", Kind::Label, "XPort Port", 7320, 840, 1092, 252, 10.8},
    {"TxtXportPort", Kind::Entry, "", 8640, 840, 1812, 324, 10.8},
    {"Text1", Kind::Status, "", 360, 1680, 4215, 612, 0},
    {"Label2", Kind::Label, "レベル表示", 4920, 1680, 1095, 255, 11.4},
    {"Chk1", Kind::Check, "-50dB", 5040, 2040, 975, 375, 11.4},
    {"BtnSaveMespara", Kind::Button, "測定条件保存", 6600, 1800, 1572, 612, 10.8},
    {"CmdMesStart", Kind::Button, "測定開始", 9120, 1560, 1335, 735, 11.4},
    {"CmdMesBreak", Kind::Button, "測定中断", 9120, 2760, 1335, 615, 11.4},
    {"CmdExit", Kind::Button, "終了", 9120, 3840, 1332, 615, 11.4},
    {"XportData", Kind::Graph, "", 120, 2520, 8775, 3615, 11.4},
    {"XportWF", Kind::Graph, "", 120, 6120, 8775, 3615, 11.4},
    {"Label19", Kind::Label, "", 9000, 6120, 1335, 255, 11.4},
    {"Label20", Kind::Label, "", 9000, 7800, 1335, 255, 11.4},
    {"Label21", Kind::Label, "", 9000, 9360, 1335, 255, 11.4},
    {"Label17", Kind::Label, "", 240, 9840, 1215, 255, 11.4},
    {"Label16", Kind::Label, "", 3960, 9840, 1215, 255, 11.4},
    {"Label18", Kind::Label, "", 8040, 9840, 975, 255, 11.4},
};

inline constexpr const char* kFormName = "KOV_Xport_WindowsAPI_Form";
inline constexpr const char* kCaption = "KOV_Xport_WindowsAPI_広帯域電磁波測定";
inline constexpr const char* kMessageCaption = "KOV_Xport_WindowsAPI";
inline constexpr const char* kStatusLine = "Text1";
inline constexpr const char* kCheckBox = "Chk1";
inline constexpr const char* kSpectrumGraph = "XportData";
inline constexpr const char* kWaterfallGraph = "XportWF";

// The design face, then what stands in for it where the system lacks it: a
// Japanese Gothic face found on Linux. Windows maps the face itself.
inline constexpr const char* kFontFamilies[] = {"ＭＳ Ｐゴシック", "IPAPGothic",
                                                "Noto Sans CJK JP"};

// Client area: the design width, and tall enough for the labels under the
// waterfall (they end at 10095 twips) with the design's margin below them.
inline constexpr int kClientWidthTwips = 10656;
inline constexpr int kClientHeightTwips = 10215;

// Tab order of the controls that take the focus. Labels and graphs take none.
inline constexpr const char* kTabOrder[] = {
    "CmdMesStart", "CmdExit",  "Chk1",       "CmdMesBreak", "Text1",          "TxtInterval",
    "TxtTime",     "TxtEndFQ", "TxtStartFQ", "TxtXportIP",  "BtnSaveMespara", "TxtXportPort"};
// The control with the focus when the window opens.
inline constexpr const char* kFirstFocus = "CmdMesStart";

// Pixels of a length in twips on a screen of `dpi` dots per inch (15 twips a
// pixel at 96 dpi), cut to whole pixels.
constexpr int Pixels(int twips, int dpi) { return twips * dpi / 1440; }

// The design of a control by its name; nullptr for none.
const ControlSpec* FindControl(std::string_view name);

// The names of the controls the handlers know by their role.
const char* ControlName(ui::Entry entry);
const char* ControlName(ui::Button button);
const char* ControlName(ui::Label label);

}  // namespace kov::window

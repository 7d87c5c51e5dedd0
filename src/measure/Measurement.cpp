#include "measure/Measurement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "link/Protocol.h"
#include "measure/SweepPlan.h"
#include "measure/WaveformFile.h"
#include "platform/Numbers.h"

namespace kov::measure {
namespace {

using platform::BlankNumber;
using platform::LeadingNumber;
using platform::PlainNumber;
using platform::RoundToLong;
using ui::Button;
using ui::Entry;
using ui::Label;

constexpr const char* kMsgIntervalRange = "ダウンロード間隔が範囲外です";
constexpr const char* kMsgPortRange = "XPort Portの値が範囲外です";
constexpr const char* kMsgFileWrite = "WFdata.txtに書き込めません";
constexpr const char* kMsgSetAside = "前回のWFdata.txtを退避できません";
constexpr const char* kMsgConnectionLost = "ソケット切断エラー";
constexpr const char* kMsgSendFP = "Send FP エラー";
constexpr const char* kMsgSendCF = "Send CF エラー";
constexpr const char* kMsgSendCFNext = "Send CF to Next Step エラー";
constexpr const char* kMsgSendCFLeft = "Send CF to Left Point エラー";
constexpr const char* kBandCountHead = "帯域の測定は";
constexpr const char* kBandCountTail = "回です。";
constexpr const char* kBreakRequested = "測定中断中・・・";
constexpr const char* kMeasuring = "を測定中です";
constexpr const char* kMeasuringBreak = " ・・測定中断中です・・";
constexpr const char* kWaiting = "測定待機中です";
constexpr const char* kBroken = "測定中断しました。";
constexpr const char* kComplete = "測定完了しました。";

// The longest interval whose milliseconds fit 32 bits.
constexpr double kMaxIntervalSeconds = 2147483.0;

// The plan of the entries, or the text that refuses them: the range and the
// count first, then the interval and the port.
std::variant<SweepPlan, Refusal> CheckEntries(const ui::Fields& fields) {
  auto plan = PlanSweep(fields.EntryText(Entry::TxtStartFQ), fields.EntryText(Entry::TxtEndFQ),
                        fields.EntryText(Entry::TxtTime));
  if (std::holds_alternative<Refusal>(plan)) return plan;
  const double interval = LeadingNumber(fields.EntryText(Entry::TxtInterval));
  if (!(interval >= 0 && interval <= kMaxIntervalSeconds)) return Refusal{kMsgIntervalRange};
  if (!RoundToLong(LeadingNumber(fields.EntryText(Entry::TxtXportPort)))) {
    return Refusal{kMsgPortRange};
  }
  return plan;
}

}  // namespace

Measurement::Measurement(MeasurementParts parts)
    : state_(parts.state),
      link_(parts.link),
      fields_(parts.fields),
      messages_(parts.messages),
      buttons_(parts.buttons),
      labels_(parts.labels),
      timers_(parts.timers),
      display_(parts.display),
      clock_(parts.clock),
      recording_(parts.files, std::move(parts.waveformPath)) {}

void Measurement::CmdMesStart_Click() {
  // Every entry is checked before anything happens, so that a refused start
  // loses nothing: no connection, the previous WFdata.txt kept.
  const auto checked = CheckEntries(fields_);
  if (const auto* refusal = std::get_if<Refusal>(&checked)) {
    messages_.SetStatusText(refusal->message);
    return;
  }
  const SweepPlan& plan = std::get<SweepPlan>(checked);

  // A start that measured nothing left its connection open: end it first.
  if (state_.ConnectFlag == 1) link_.XportDisconnect();

  link_.XportConnect();
  state_.BreakFlag = 0;
  // The last run is kept under its own name, or the start goes no further:
  // one click must never cost a night's recording.
  if (!recording_.SetAsideLast()) {
    state_.ErrMsg = kMsgSetAside;
    messages_.ShowMessage(state_.ErrMsg);
    messages_.SetStatusText(state_.ErrMsg);
    link_.XportDisconnect();
    return;
  }
  if (!recording_.Start()) {
    messages_.SetStatusText(kMsgFileWrite);
    link_.XportDisconnect();
    return;
  }
  state_.DownloadCount = plan.downloadCount;
  state_.EndFQ = plan.endFQ;
  state_.StartFQ = plan.startFQ;
  fields_.SetEntryText(Entry::TxtEndFQ, PlainNumber(state_.EndFQ));
  fields_.SetEntryText(Entry::TxtStartFQ, PlainNumber(state_.StartFQ));
  state_.BandCount = plan.bandCount;
  if (state_.BandCount == 0) return;
  PrepareRun();

  link_.XportSend(link::kCmdFP10);
  if (state_.SockRet == platform::kSocketError) {
    link_.Fail(kMsgSendFP, link::Link::Tell::Status, link::Link::End::AfterDisconnect);
  }
  buttons_.SetButtonEnabled(Button::CmdMesStart, false);
  buttons_.SetButtonEnabled(Button::CmdMesBreak, true);
}

void Measurement::PrepareRun() {
  display_.ScaleWaterfall(state_.BandCount, state_.DownloadCount);
  state_.WFLineNo = 0;
  ShowBandCount();
  display_.DrawGraphFrame(state_.BandCount);
  display_.SetFrequencyLabels(state_.StartFQ, state_.EndFQ);
  state_.DownloadNo = 0;
  timers_.Timer1.SetInterval(1);
  timers_.Timer1.SetEnabled(true);
  display_.ClearWaterfall();
  state_.DownloadFlag = 0;
}

void Measurement::CmdMesBreak_Click() {
  state_.BreakFlag = 1;
  messages_.SetStatusText(kBreakRequested);
}

void Measurement::ShowBandCount() {
  messages_.SetStatusText(std::string(kBandCountHead) + BlankNumber(state_.BandCount) +
                          kBandCountTail);
  clock_.Sleep(1000);
}

void Measurement::Timer1_Timer() {
  timers_.Timer1.SetEnabled(false);
  // An interval typed during the run is read as it stands; one below 1 ms
  // becomes 1 ms so that passes follow back to back instead of stalling.
  const double ms = LeadingNumber(fields_.EntryText(Entry::TxtInterval)) * 1000.0;
  std::int32_t interval = 1;
  if (const auto rounded = RoundToLong(ms)) {
    interval = std::max<std::int32_t>(*rounded, 1);
  } else if (ms > 0) {
    interval = std::numeric_limits<std::int32_t>::max();
  }
  timers_.Timer1.SetInterval(interval);
  timers_.Timer1.SetEnabled(true);

  if (state_.DownloadFlag == 1) return;
  if (state_.DownloadCount > state_.DownloadNo) {
    ++state_.DownloadNo;
    ++state_.WFLineNo;
    state_.BandNo = 0;
    ResetWFGrid();
    timers_.Timer3.SetEnabled(true);
    state_.DownloadFlag = 1;
  } else {
    timers_.Timer1.SetEnabled(false);
  }
}

void Measurement::Timer3_Timer() {
  timers_.Timer3.SetEnabled(false);
  ++state_.BandNo;

  messages_.SetStatusText(PlainNumber(state_.DownloadNo) + "-" + PlainNumber(state_.BandNo) +
                          kMeasuring);
  if (state_.BreakFlag == 1) messages_.SetStatusText(messages_.StatusText() + kMeasuringBreak);

  if (!link_.SendCF(BandCenter(state_.BandNo), kMsgSendCF)) return EndRun(kMsgConnectionLost);
  SettlingWait();
  link_.SendGD();
  clock_.Sleep(50);
  // A lost connection ends the run before its band is stored: the file
  // keeps only what the instrument really sent.
  if (link_.RecvGDReply() == link::ReplyOutcome::kConnectionLost) {
    return EndRun(kMsgConnectionLost);
  }
  const platform::WallTime replyTime = clock_.Now();
  const bool stored = StoreBandTrace(link::SplitGDReply(state_.RecvStr), replyTime);
  link_.ReleaseReply();
  // Without its file the run cannot keep its promise of every point.
  if (!stored) return EndRun(kMsgFileWrite);

  if (state_.BandNo < state_.BandCount) {
    if (!link_.SendCF(BandCenter(static_cast<std::int16_t>(state_.BandNo + 1)), kMsgSendCFNext)) {
      return EndRun(kMsgConnectionLost);
    }
    timers_.Timer3.SetEnabled(true);
  } else {
    if (!link_.SendCF(BandCenter(1), kMsgSendCFLeft)) return EndRun(kMsgConnectionLost);
    messages_.SetStatusText(std::to_string(state_.DownloadNo + 1) + "-1" + kWaiting);
    timers_.Timer4.SetEnabled(true);
  }
}

double Measurement::BandCenter(std::int16_t bandNo) const {
  return link::BandCenterFQ(state_.StartFQ, state_.BandWidthMHz, bandNo);
}

void Measurement::SettlingWait() {
  if (state_.DownloadNo == 1 && state_.BandNo == 1) {
    // Up to 102 000 ms: wider than an Integer.
    clock_.Sleep(static_cast<std::int32_t>(state_.BandCount) * 1000);
    labels_.SetLabelText(Label::Label19, clock_.TimeOfDayText());
  } else if (state_.BandNo == 1) {
    clock_.Sleep(1000);
  } else {
    clock_.Sleep(500);
  }
}

void Measurement::EndRun(const char* message) {
  // Ends the run as a completed one ends, with the reason in its place:
  // what was written stays, the instrument gets its "EX" and the window stays.
  state_.ErrMsg = message;
  messages_.SetStatusText(state_.ErrMsg);
  labels_.SetLabelText(Label::Label21, clock_.TimeOfDayText());
  link_.XportDisconnect();
}

void Measurement::Timer4_Timer() {
  timers_.Timer4.SetEnabled(false);
  display_.DrawPass(state_.BandCount, state_.WFLineNo, state_.WFGrid);
  if (state_.WFLineNo == state_.DownloadCount / 2) {
    labels_.SetLabelText(Label::Label20, clock_.TimeOfDayText());
  }

  if (state_.BreakFlag == 1) {
    messages_.SetStatusText(kBroken);
    labels_.SetLabelText(Label::Label21, clock_.TimeOfDayText());
    link_.XportDisconnect();
  } else if (state_.DownloadCount > state_.DownloadNo) {
    state_.DownloadFlag = 0;
  } else {
    messages_.SetStatusText(kComplete);
    labels_.SetLabelText(Label::Label21, clock_.TimeOfDayText());
    link_.XportDisconnect();
  }
}

void Measurement::ResetWFGrid() {
  for (int band = 0; band < 300; ++band) {
    for (int point = 0; point < link::kPointsPerBand; ++point) state_.WFGrid.At(band, point) = "00";
  }
}

bool Measurement::StoreBandTrace(const link::BandLevels& levels, platform::WallTime replyTime) {
  const int band = state_.BandNo - 1;
  state_.WFDataStr.clear();
  for (int k = 1; k <= link::kPointsPerBand; ++k) {
    std::string& cell = state_.WFGrid.At(band, k - 1);
    if (levels[k - 1]) cell = *levels[k - 1];
    AppendPointLine(state_.WFDataStr, state_.WFLineNo, band * link::kPointsPerBand + k, cell);
  }
  state_.WFDataStr += "\r\n";
  const bool written = recording_.AppendBand(
      state_.WFDataStr,
      BandTime{state_.WFLineNo, state_.BandNo, BandCenter(state_.BandNo), replyTime});
  // The extra line end parts this band from the next in the file only.
  state_.WFDataStr.resize(state_.WFDataStr.size() - 2);
  return written;
}

}  // namespace kov::measure

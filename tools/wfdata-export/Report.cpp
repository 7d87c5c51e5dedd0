#include "Report.h"

#include <algorithm>
#include <cstdio>

#include "CsvText.h"
#include "PeaksCsv.h"
#include "TimeAxis.h"
#include "link/Protocol.h"
#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

constexpr const char* kStyle =
    "body{font-family:\"Yu Gothic UI\",\"Meiryo\",\"Hiragino Sans\",\"Noto Sans CJK JP\","
    "\"IPAPGothic\",sans-serif;margin:24px 32px;color:#202020;background:#fff}"
    "h1{font-size:22px;margin:0 0 4px}h2{font-size:17px;margin:28px 0 8px;"
    "border-bottom:2px solid #2f5d8a;padding-bottom:3px}"
    ".en{color:#555;font-weight:normal}.file{color:#444;margin:0 0 12px}"
    "table{border-collapse:collapse;font-size:14px}"
    "th,td{border:1px solid #b8c4d0;padding:3px 9px}th{background:#dce6f0;font-weight:bold}"
    ".facts th{text-align:left;white-space:nowrap}.facts td{text-align:left}"
    ".peaks td{text-align:right;white-space:nowrap}.peaks tr:nth-child(even) td{background:#f2f6fa}"
    "img{display:block;max-width:100%;height:auto;border:1px solid #ccc}"
    ".note{margin:6px 0;font-size:14px}";

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Base64(std::string_view bytes) {
  constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<std::uint8_t>(bytes[i + 2]);
    out += kDigits[n >> 18];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

// "日本語 / English" as a heading's or a cell's text.
std::string Both(const std::string& japanese, const std::string& english) {
  return japanese + " <span class=\"en\">/ " + english + "</span>";
}

// The same over two lines, for a column's head.
std::string Head(const char* japanese, const char* english) {
  return std::string("<th>") + japanese + "<br><span class=\"en\">" + english + "</span></th>";
}

std::string Row(const char* japanese, const char* english, const std::string& value) {
  return "<tr><th>" + Both(japanese, english) + "</th><td>" + value + "</td></tr>\n";
}

std::string Moment(platform::WallTime t) { return LocalText(t) + " (" + OffsetText(t) + ")"; }

std::string Facts(const ReportFacts& f) {
  std::string html = "<table class=\"facts\">\n";
  std::string files = Escaped(f.recording);
  if (!f.timesFile.empty()) files += ", " + Escaped(f.timesFile);
  html += Row("記録ファイル", "Recording", files);
  html += Row("測定範囲", "Frequency range",
              platform::PlainNumber(f.lowMHz) + " – " + platform::PlainNumber(f.highMHz) + " MHz");
  html += Row("帯域数", "Bands per pass", std::to_string(f.bands) + " (10 MHz, 320 points each)");
  html += Row("ダウンロード回数", "Passes",
              std::to_string(f.lastPass - f.firstPass + 1) + " (" + std::to_string(f.firstPass) +
                  " – " + std::to_string(f.lastPass) + ")");
  if (f.start && f.end) {
    html += Row("開始時刻", "Start", Moment(*f.start));
    html += Row("終了時刻", "End", Moment(*f.end));
    html += Row("測定時間", "Duration", DurationText(f.end->utcMs - f.start->utcMs));
  }
  char share[32];
  std::snprintf(share, sizeof share, "%.2f %%",
                f.points > 0 ? 100.0 * static_cast<double>(f.withoutData) / f.points : 0.0);
  html +=
      Row("データなしの点", "Points without data",
          std::to_string(f.withoutData) + " / " + std::to_string(f.points) + " (" + share + ")");
  html += Row("しきい値", "Threshold", platform::PlainNumber(f.threshold) + " dB");
  std::string notes;
  for (const std::string& note : f.notes)
    notes += "<div class=\"note\">" + Escaped(note) + "</div>";
  html += Row("注記", "Notes", notes.empty() ? "なし / none" : notes);
  return html + "</table>\n";
}

std::string Picture(const std::string& png, const char* alt) {
  return "<img alt=\"" + std::string(alt) + "\" src=\"data:image/png;base64," + Base64(png) +
         "\">\n";
}

std::string PeakRow(const Signal& s, const FrequencyAxis& axis, const TimesTable* times) {
  std::string row = "<tr>";
  const auto cell = [&row](const std::string& text) { row += "<td>" + text + "</td>"; };
  cell(platform::PlainNumber(axis.MHz(s.lowPoint)));
  cell(platform::PlainNumber((axis.MHz(s.lowPoint) + axis.MHz(s.highPoint)) / 2));
  cell(platform::PlainNumber(axis.MHz(s.highPoint)));
  cell(platform::PlainNumber(axis.MHz(s.peakPoint)));
  cell(platform::PlainNumber(s.peakLevel));
  cell(std::to_string(s.firstPass));
  cell(std::to_string(s.lastPass));
  cell(std::to_string(s.passesAbove));
  if (times != nullptr) {
    for (const auto& [pass, point] :
         {std::pair{s.firstPass, s.firstPassPoint}, {s.lastPass, s.lastPassPoint}}) {
      const auto t = times->At(pass, (point - 1) / link::kPointsPerBand + 1);
      cell(t ? LocalText(*t) : std::string());
    }
  }
  return row + "</tr>\n";
}

std::string Peaks(std::vector<Signal> signals, const FrequencyAxis& axis, const TimesTable* times) {
  if (signals.empty())
    return "<p>しきい値を超えた信号はありません。 <span class=\"en\">/ No signal rose above the "
           "threshold.</span></p>\n";
  std::string html;
  if (signals.size() > kReportPeaks) {
    html += "<p>" + std::to_string(signals.size()) + " 件のうちレベルの高い " +
            std::to_string(kReportPeaks) + " 件 <span class=\"en\">/ the " +
            std::to_string(kReportPeaks) + " strongest of " + std::to_string(signals.size()) +
            " (all of them: --peaks)</span></p>\n";
    std::nth_element(signals.begin(), signals.begin() + kReportPeaks, signals.end(),
                     [](const Signal& a, const Signal& b) { return a.peakLevel > b.peakLevel; });
    signals.resize(kReportPeaks);
    std::sort(signals.begin(), signals.end(),
              [](const Signal& a, const Signal& b) { return a.lowPoint < b.lowPoint; });
  }
  html += "<table class=\"peaks\">\n<tr>" + Head("下限", "Low MHz") + Head("中心", "Centre MHz") +
          Head("上限", "High MHz") + Head("ピーク周波数", "Peak MHz") +
          Head("ピークレベル", "Peak dB") + Head("初回", "First pass") +
          Head("最終回", "Last pass") + Head("検出回数", "Passes above");
  if (times != nullptr)
    html += Head("初回の時刻", "First time") + Head("最終回の時刻", "Last time");
  html += "</tr>\n";
  for (const Signal& s : signals) html += PeakRow(s, axis, times);
  return html + "</table>\n";
}

}  // namespace

std::string MakeReport(const ReportFacts& facts, const std::string& waterfallPng,
                       const std::string& spectrumPng, const std::vector<Signal>& signals,
                       const FrequencyAxis& axis, const TimesTable* times) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      Escaped(facts.recording) + " – 測定レポート / Measurement report</title>\n<style>" + kStyle +
      "</style>\n</head>\n<body>\n<h1>" +
      Both("広帯域電磁波測定レポート", "Wide-band measurement report") +
      "</h1>\n<p class=\"file\">" + Escaped(facts.recording) + "</p>\n";
  html += "<h2>" + Both("測定の概要", "The run") + "</h2>\n" + Facts(facts);
  html += "<h2>" + Both("ウォーターフォール", "Waterfall") + "</h2>\n" +
          Picture(waterfallPng, "waterfall");
  html += "<h2>" + Both("スペクトラム（最大・平均・最小）", "Spectrum: max-hold, mean, min-hold") +
          "</h2>\n" + Picture(spectrumPng, "spectrum");
  const std::string threshold = platform::PlainNumber(facts.threshold) + " dB";
  html += "<h2>" + Both("ピーク一覧（" + threshold + " 超）", "Peaks above " + threshold) +
          "</h2>\n" + Peaks(signals, axis, times);
  return html + "</body>\n</html>\n";
}

}  // namespace kov::wfexport

#include "settings/Settings.h"

#include <algorithm>
#include <span>
#include <utility>

#include "platform/Numbers.h"
#include "platform/ProfileText.h"
#include "platform/ProgramFolder.h"

namespace kov::settings {
namespace {

constexpr Key kXportIP{kCommunication, "Xport_IP", "1"};

struct TextKey {
  Key key;
  ui::Entry entry;
};

// Keys 1 to 6 in the order start-up reads them and the save writes them.
constexpr TextKey kCommunicationKeys[] = {
    {kXportIP, ui::Entry::TxtXportIP},
    {{kCommunication, "Xport_Port", "1"}, ui::Entry::TxtXportPort},
};
constexpr TextKey kMeasurementKeys[] = {
    {kStartFQ, ui::Entry::TxtStartFQ},
    {kEndFQ, ui::Entry::TxtEndFQ},
    {{kMesPara, "INTERVAL", "5"}, ui::Entry::TxtInterval},
    {{kMesPara, "COUNT", "1"}, ui::Entry::TxtTime},
};

// The keys of one reading: one pass over the file for all of them, so that a
// large file is not gone through once per key.
std::vector<platform::ProfileLookup> Lookups(std::span<const TextKey> keys) {
  std::vector<platform::ProfileLookup> lookups;
  for (const TextKey& k : keys) lookups.push_back({k.key.section, k.key.name, k.key.defaultText});
  return lookups;
}

}  // namespace

std::int16_t CheckValueFromText(const std::string& text) {
  const auto value = platform::RoundToInteger(platform::LeadingNumber(text));
  if (!value || *value < 0 || *value > 2) return 0;
  return *value;
}

Settings::Settings(platform::ProfileFiles& files, std::string programFolder)
    : files_(files), programFolder_(std::move(programFolder)) {}

std::string Settings::ProfilePath() const {
  return programFolder_ + platform::PathSeparator() + kProfileName;
}

std::string Settings::ProfileRead(const std::string& section, const std::string& key,
                                  const std::string& defaultText) {
  return ThroughProfileBuf(files_.Read(section, key, defaultText, ProfilePath()));
}

std::string Settings::ThroughProfileBuf(const std::string& value) {
  // The value lands in a 255-byte buffer with its NUL; only what stands
  // before the first NUL counts.
  constexpr std::size_t kMax = platform::kProfileValueMax;
  ProfileBuf.assign(kMax + 1, '\0');
  ProfileBuf.replace(0, std::min(value.size(), kMax), value, 0, kMax);
  return ProfileBuf.substr(0, ProfileBuf.find('\0'));
}

void Settings::ProfileWrite(const std::string& section, const std::string& key,
                            const std::string& value) {
  files_.Write(section, key, value, ProfilePath());
}

void Settings::ReadCommunication(ui::Fields& fields) {
  const auto values = files_.Read(Lookups(kCommunicationKeys), ProfilePath());
  for (std::size_t i = 0; i < std::size(kCommunicationKeys); ++i) {
    fields.SetEntryText(kCommunicationKeys[i].entry, ThroughProfileBuf(values[i]));
  }
}

void Settings::ReadMeasurement(ui::Fields& fields) {
  auto lookups = Lookups(kMeasurementKeys);
  lookups.push_back({kLevel.section, kLevel.name, kLevel.defaultText});
  const auto values = files_.Read(lookups, ProfilePath());
  for (std::size_t i = 0; i < std::size(kMeasurementKeys); ++i) {
    fields.SetEntryText(kMeasurementKeys[i].entry, ThroughProfileBuf(values[i]));
  }
  fields.SetCheckValue(CheckValueFromText(ThroughProfileBuf(values.back())));
}

void Settings::BtnSaveMespara_Click(const ui::Fields& fields) {
  std::vector<platform::ProfileSetting> keys;
  for (const TextKey& k : kCommunicationKeys) {
    keys.push_back({k.key.section, k.key.name, fields.EntryText(k.entry)});
  }
  for (const TextKey& k : kMeasurementKeys) {
    keys.push_back({k.key.section, k.key.name, fields.EntryText(k.entry)});
  }
  keys.push_back({kLevel.section, kLevel.name, platform::BlankNumber(fields.CheckValue())});
  files_.Write(keys, ProfilePath());
}

void Settings::StoreXportIP(const std::string& ipText) {
  ProfileWrite(kXportIP.section, kXportIP.name, ipText);
}

}  // namespace kov::settings

#include "settings/Settings.h"

#include <algorithm>
#include <utility>

#include "platform/Numbers.h"
#include "platform/ProgramFolder.h"

namespace kov::settings {
namespace {

constexpr const char* kCommunication = "COMMUNICATION";
constexpr const char* kMesPara = "MES_PARA";

struct TextKey {
  const char* section;
  const char* key;
  const char* defaultText;
  ui::Entry entry;
};

// Keys 1 to 6 in the order start-up reads them and the save writes them.
constexpr TextKey kCommunicationKeys[] = {
    {kCommunication, "Xport_IP", "1", ui::Entry::TxtXportIP},
    {kCommunication, "Xport_Port", "1", ui::Entry::TxtXportPort},
};
constexpr TextKey kMeasurementKeys[] = {
    {kMesPara, "START_FQ", "451", ui::Entry::TxtStartFQ},
    {kMesPara, "END_FQ", "550", ui::Entry::TxtEndFQ},
    {kMesPara, "INTERVAL", "5", ui::Entry::TxtInterval},
    {kMesPara, "COUNT", "1", ui::Entry::TxtTime},
};
constexpr const char* kLevelKey = "D_LEVEL";

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
  // The value lands in a 255-byte buffer with its NUL; only what stands
  // before the first NUL counts.
  const std::string value = files_.Read(section, key, defaultText, ProfilePath());
  ProfileBuf.assign(255, '\0');
  ProfileBuf.replace(0, std::min<std::size_t>(value.size(), 254), value, 0, 254);
  return ProfileBuf.substr(0, ProfileBuf.find('\0'));
}

void Settings::ProfileWrite(const std::string& section, const std::string& key,
                            const std::string& value) {
  files_.Write(section, key, value, ProfilePath());
}

void Settings::ReadCommunication(ui::Window& window) {
  for (const TextKey& k : kCommunicationKeys) {
    window.SetEntryText(k.entry, ProfileRead(k.section, k.key, k.defaultText));
  }
}

void Settings::ReadMeasurement(ui::Window& window) {
  for (const TextKey& k : kMeasurementKeys) {
    window.SetEntryText(k.entry, ProfileRead(k.section, k.key, k.defaultText));
  }
  window.SetCheckValue(CheckValueFromText(ProfileRead(kMesPara, kLevelKey, "1")));
}

void Settings::BtnSaveMespara_Click(const ui::Window& window) {
  for (const TextKey& k : kCommunicationKeys) {
    ProfileWrite(k.section, k.key, window.EntryText(k.entry));
  }
  for (const TextKey& k : kMeasurementKeys) {
    ProfileWrite(k.section, k.key, window.EntryText(k.entry));
  }
  ProfileWrite(kMesPara, kLevelKey, platform::BlankNumber(window.CheckValue()));
}

void Settings::StoreXportIP(const std::string& ipText) {
  ProfileWrite(kCommunication, "Xport_IP", ipText);
}

}  // namespace kov::settings

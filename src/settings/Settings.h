#pragma once

#include <cstdint>
#include <string>

#include "platform/ProfileFiles.h"
#include "ui/Window.h"

namespace kov::settings {

inline constexpr const char* kProfileName = "KOV_Xport.ini";

// A key of the settings file, and the text a read gives when the file lacks it.
struct Key {
  const char* section;
  const char* name;
  const char* defaultText;
};

inline constexpr const char* kCommunication = "COMMUNICATION";
inline constexpr const char* kMesPara = "MES_PARA";
inline constexpr Key kStartFQ{kMesPara, "START_FQ", "451"};
inline constexpr Key kEndFQ{kMesPara, "END_FQ", "550"};
inline constexpr Key kLevel{kMesPara, "D_LEVEL", "1"};

// Converts the text of key D_LEVEL into a check box state: 0, 1 or 2; any
// other value, or one outside the 16-bit range, clears the box.
std::int16_t CheckValueFromText(const std::string& text);

// The settings file "KOV_Xport.ini" beside the program: its seven keys, read
// once at start-up and written by the save button (and the IP by a connect).
class Settings {
 public:
  Settings(platform::ProfileFiles& files, std::string programFolder);

  std::string ProfilePath() const;
  std::string ProfileRead(const std::string& section, const std::string& key,
                          const std::string& defaultText);
  void ProfileWrite(const std::string& section, const std::string& key, const std::string& value);

  // Start-up reading of the seven keys into the controls, each group in one
  // reading of the file. The window's start-up puts other steps between them.
  void ReadCommunication(ui::Fields& fields);  // keys 1 and 2
  void ReadMeasurement(ui::Fields& fields);    // keys 3 to 7

  // BtnSaveMespara_Click: the seven keys from the controls, in their order,
  // in one change of the file.
  void BtnSaveMespara_Click(const ui::Fields& fields);

  // XportConnect's store of the IP text, exactly as typed.
  void StoreXportIP(const std::string& ipText);

 private:
  std::string ThroughProfileBuf(const std::string& value);

  platform::ProfileFiles& files_;
  std::string programFolder_;
  // Receive buffer of every read: 255 bytes, the value and its NUL.
  std::string ProfileBuf;
};

}  // namespace kov::settings

#include "storage/settings.h"

#include "platform/settings/settings_file.h"

QString SettingsFileName;

namespace Pref {
files::Byte SU_Albums;
files::Byte SU_Songs;
files::Byte SU_Playlists;
files::Byte SU_Labels;
files::String<20> AutoAddToAlbums;
files::String<20> AddMode;
files::String<20> LabelArtistTitleOrder;
files::String<24> UDKPrompt;
files::String<20> NotesLabel;
files::String<6> DateFormat;
files::String<255> Logo;
files::Byte UseLog;
files::String<20> Interface;
files::Byte SetupWizardComplete;
files::Byte DefaultWizardCompilation;
files::Byte SaveLastTab;
files::Byte AltCasFmt;
files::Byte DbgMode;
files::Byte ShowTips;
}  // namespace Pref

namespace GLO {
files::String<20> Delimiter;
}  // namespace GLO

namespace {

QString settingsFile() {
  return SettingsFileName.isEmpty() ? settings::systemFile() : SettingsFileName;
}

// One preference: its entry, its default, and the value it fills.
struct Preference {
  const char* entry;
  const char* fallback;
  files::Field* value;
};

}  // namespace

QString ReadSetting(const QString& section, const QString& entry, const QString& fallback) {
  return settings::read(settingsFile(), section, entry, fallback);
}

void WriteSetting(const QString& section, const QString& entry, const QString& value) {
  settings::write(settingsFile(), section, entry, value);
}

qint64 ReadSettingNumber(const QString& section, const QString& entry, const QString& fallback) {
  return settings::wholeNumberOf(ReadSetting(section, entry, fallback));
}

void LoadPreferences() {
  using namespace Pref;
  const Preference preferences[] = {
      {"SU_Albums", "", &SU_Albums},
      {"SU_Songs", "", &SU_Songs},
      {"SU_Playlists", "", &SU_Playlists},
      {"SU_Labels", "", &SU_Labels},
      {"AutoAddToAlbums", "1", &AutoAddToAlbums},
      {"AddMode", "1", &AddMode},
      {"LabelArtistTitleOrder", "1", &LabelArtistTitleOrder},
      {"GLO:Delimiter", ".", &GLO::Delimiter},
      {"UDKPrompt", "Custom", &UDKPrompt},
      {"NotesLabel", "Notes", &NotesLabel},
      {"DateFormat", "", &DateFormat},
      {"Logo", "", &Logo},
      {"UseLog", "0", &UseLog},
      {"Interface", "Standard", &Interface},
      {"SetupWizardComplete", "", &SetupWizardComplete},
      {"DefaultWizardCompilation", "", &DefaultWizardCompilation},
      {"SaveLastTab", "1", &SaveLastTab},
      {"AltCasFmt", "0", &AltCasFmt},
      {"DbgMode", "0", &DbgMode},
      {"ShowTips", "1", &ShowTips},
  };
  for (const Preference& p : preferences) {
    const QString text = ReadSetting("Settings", p.entry, p.fallback);
    if (p.value->isText())
      p.value->setValue(text);
    else
      p.value->setValue(qlonglong(settings::wholeNumberOf(text)));
  }
}

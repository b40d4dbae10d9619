// The program's settings files and the preferences they hold.
//
// Preferences live in section "Settings" of the settings file, "KVXPro98.INI" once the frame has
// started (the system-wide settings file before that); window positions and list layouts in
// ".\POSITION.INI"; the crash marker in the system-wide file. Every read names a default.
//
// LoadPreferences() reads every preference below into its program-wide value. Flags read as numbers:
// empty text and text that is not a number count as 0. Texts are cut to their width.
#pragma once

#include <QString>

#include "platform/files/field.h"

// The file preferences are read from and written to; empty means the system-wide settings file.
extern QString SettingsFileName;
inline constexpr const char* kPositionFile = ".\\POSITION.INI";

// Reads and writes entries of the settings file, with the given default.
QString ReadSetting(const QString& section, const QString& entry, const QString& fallback = QString());
void WriteSetting(const QString& section, const QString& entry, const QString& value);
// A setting read as a number.
qint64 ReadSettingNumber(const QString& section, const QString& entry, const QString& fallback = QString());

namespace Pref {
extern files::Byte SU_Albums;
extern files::Byte SU_Songs;
extern files::Byte SU_Playlists;
extern files::Byte SU_Labels;
extern files::String<20> AutoAddToAlbums;
extern files::String<20> AddMode;
extern files::String<20> LabelArtistTitleOrder;
extern files::String<24> UDKPrompt;
extern files::String<20> NotesLabel;
extern files::String<6> DateFormat;
extern files::String<255> Logo;
extern files::Byte UseLog;
extern files::String<20> Interface;
extern files::Byte SetupWizardComplete;
extern files::Byte DefaultWizardCompilation;
extern files::Byte SaveLastTab;
extern files::Byte AltCasFmt;
extern files::Byte DbgMode;
extern files::Byte ShowTips;
}  // namespace Pref

namespace GLO {
extern files::String<20> Delimiter;
}  // namespace GLO

void LoadPreferences();

#include "storage/records.h"

// Each buffer is defined before the files that refer to it: within one translation unit globals are
// constructed in order of definition, and a file's keys take the addresses of its buffer's fields.

SongRecord MUS("MUS");
SongsFile Cantorix(MUS, "Cantorix");
SongRecord A_S("A_S");
SongsFile A_Songs(A_S, "A_Songs");

CategoryRecord CAT;
CategoriesFile Categories(CAT);

AlbumRecord ALB;
AlbumFile Album(ALB);

MediaRecord MED;
MediaFile Media(MED);

PlaylistMasterRecord PLD;
PlaylistMasterFile PlaylistMaster(PLD);

PlaylistDetailRecord PLA;
PlaylistDetailsFile PlaylistDetails(PLA);

LabelRecord LAB;
LabelsFile Labels(LAB);

FontRecord FON;
FontsFile Fonts(FON);

AddWizardRecord AW;
AddWizardFile AddWizard(AW);

TipRecord TIP;
TipsFile KVXTips(TIP);

EventLogRecord EVL;
files::TextFile EventLog(EVL, "EventLog", QStringLiteral("KVXEvent.LOG"));

std::vector<files::File*> databaseFiles() {
  return {&Cantorix,        &Categories, &Album, &Media,     &PlaylistMaster,
          &PlaylistDetails, &Labels,     &Fonts, &AddWizard, &KVXTips};
}

void clearRecordBuffers() {
  for (files::Record* r : std::initializer_list<files::Record*>{&MUS, &A_S, &CAT, &ALB, &MED, &PLD, &PLA,
                                                                &LAB, &FON, &AW, &TIP, &EVL})
    r->clear();
}

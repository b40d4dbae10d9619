// The program's database files and their one record buffer each.
//
// The catalogue lives in ten indexed files and a text event log, all in the working directory. Each
// file below is declared once, together with the single record buffer that every procedure of the
// program reads into and writes from; a procedure that must keep a buffer intact takes a snapshot of
// it and restores that afterwards. Fields, memos and keys carry the names the rest of the program
// uses to address them ("MUS:Artist", "MUS:SongsByArtist"), so the member names here are part of the
// program's vocabulary and do not follow the usual naming style. The songs file is declared twice:
// `A_Songs` is a second view of the same data with a buffer, position and open state of its own, so
// the integrity routines can walk and change songs while `MUS` holds a record that must survive.
#pragma once

#include <vector>

#include "platform/files/file.h"
#include "platform/files/text_file.h"

// --- record buffers ------------------------------------------------------------------------------

// Shared by `Cantorix` (prefix "MUS") and its alias `A_Songs` (prefix "A_S").
struct SongRecord : files::Record {
  explicit SongRecord(const char* prefix) : Record(prefix) {}
  files::String<50> Artist{this, "Artist"};
  files::String<50> Title{this, "Title"};
  files::String<30> Mix{this, "Mix"};
  files::String<50> Album{this, "Album"};
  files::String<20> Media{this, "Media"};
  files::String<20> FileNumber{this, "FileNumber"};
  files::Long ReleaseDate{this, "ReleaseDate"};
  files::Long CategoryID{this, "CategoryID"};
  files::Byte ChartNumber{this, "ChartNumber"};
  files::Byte TrackNumber{this, "TrackNumber"};
  files::Byte Side{this, "Side"};
  files::Long Time{this, "Time"};
  files::String<30> UserDefinedKeyField{this, "UserDefinedKeyField"};
  files::String<80> AdditionalInformation1{this, "AdditionalInformation1"};
  files::String<80> AdditionalInformation2{this, "AdditionalInformation2"};
  files::String<80> AdditionalInformation3{this, "AdditionalInformation3"};
  files::Long BeatsPerMinute{this, "BeatsPerMinute"};
  files::String<30> Style{this, "Style"};
  files::String<80> Composer{this, "Composer"};
  files::Long LastPlayed{this, "LastPlayed"};
  files::Byte Skips{this, "Skips"};
  files::String<6> EndType{this, "EndType"};
  files::String<20> InOut{this, "InOut"};
  files::Byte Rating{this, "Rating"};
  files::Byte Live{this, "Live"};
  files::Byte DoNotPlay{this, "DoNotPlay"};
  files::Long ID{this, "ID"};
  files::Long AlbumID{this, "AlbumID"};
  files::Memo<256> Recording{this, "Recording"};
  files::Memo<256> PerformanceNotes{this, "PerformanceNotes"};
  files::Memo<2000> Notes{this, "Notes"};
};

struct CategoryRecord : files::Record {
  CategoryRecord() : Record("CAT") {}
  files::Decimal<11> CategoryID{this, "CategoryID"};
  files::String<30> Category{this, "Category"};
};

struct AlbumRecord : files::Record {
  AlbumRecord() : Record("ALB") {}
  files::Long AlbumID{this, "AlbumID"};
  files::String<50> Artist{this, "Artist"};
  files::String<50> Album{this, "Album"};
  files::String<20> Media{this, "Media"};
  files::String<20> FileNumber{this, "FileNumber"};
  files::Long ReleaseDate{this, "ReleaseDate"};
  files::Decimal<11> CategoryID{this, "CategoryID"};
  files::String<128> AssociatedWavFile{this, "AssociatedWavFile"};
  files::String<128> AssociatedImage{this, "AssociatedImage"};
  files::String<24> CDIdentifier{this, "CDIdentifier"};
  files::String<32> XCCD{this, "XCCD"};
  files::String<70> Playlist{this, "Playlist"};
  files::Byte Rating{this, "Rating"};
  files::Long TotalTime{this, "TotalTime"};
  files::Memo<256> Recording{this, "Recording"};
  files::Memo<256> Performance{this, "Performance"};
  files::Memo<2000> Notes{this, "Notes"};
};

struct MediaRecord : files::Record {
  MediaRecord() : Record("MED") {}
  files::String<20> Media{this, "Media"};
};

struct PlaylistMasterRecord : files::Record {
  PlaylistMasterRecord() : Record("PLD") {}
  files::Long PlaylistID{this, "PlaylistID"};
  files::String<30> PlaylistDescription{this, "PlaylistDescription"};
  files::Long LastEditDate{this, "LastEditDate"};
  files::Memo<1000> Notes{this, "Notes"};
};

struct PlaylistDetailRecord : files::Record {
  PlaylistDetailRecord() : Record("PLA") {}
  files::Long PlaylistID{this, "PlaylistID"};
  files::Decimal<11> PlaylistSeq{this, "PlaylistSeq"};
  files::Decimal<11> ID{this, "ID"};
  files::String<40> PlaylistNotes{this, "PlaylistNotes"};
  // Chart positions are kept as text.
  files::String<3> LastWeek{this, "LastWeek"};
  files::String<3> ThisWeek{this, "ThisWeek"};
  files::String<3> HighestChartPosition{this, "HighestChartPosition"};
};

// The ...FontID fields hold FON:FontID values.
struct LabelRecord : files::Record {
  LabelRecord() : Record("LAB") {}
  files::Decimal<11> LabelID{this, "LabelID"};
  files::String<30> LabelDescription{this, "LabelDescription"};
  files::String<9> LabelType{this, "LabelType"};
  files::Long AlbumID{this, "AlbumID"};
  files::String<100> CDSpine{this, "CDSpine"};
  files::Long CDSpineFontID{this, "CDSpineFontID"};
  files::String<100> CDTitle{this, "CDTitle"};
  files::Long CDTitleFontID{this, "CDTitleFontID"};
  files::Long CDCoverTextFontID{this, "CDCoverTextFontID"};
  files::Long CDInsideTextFontID{this, "CDInsideTextFontID"};
  files::String<6> CDSpineJustification{this, "CDSpineJustification"};
  files::String<6> CDTextJustification{this, "CDTextJustification"};
  files::String<6> CDBackCoverJustification{this, "CDBackCoverJustification"};
  files::Long CassetteFlapFontID{this, "CassetteFlapFontID"};
  files::Long CassetteTitleFontID{this, "CassetteTitleFontID"};
  files::Long CassetteContentsFontID{this, "CassetteContentsFontID"};
  files::String<20> CassetteFormat{this, "CassetteFormat"};
  files::String<255> ImageName{this, "ImageName"};
  files::Long ImagePositionX{this, "ImagePositionX"};
  files::Long ImagePositionY{this, "ImagePositionY"};
  files::String<20> ImageSize{this, "ImageSize"};
  files::Long ImageSizeX{this, "ImageSizeX"};
  // Text, unlike ImageSizeX; existing files store it that way.
  files::String<20> ImageSizeY{this, "ImageSizeY"};
  files::Memo<3000> CDCoverText{this, "CDCoverText"};
  files::Memo<3000> CDInsideText{this, "CDInsideText"};
  files::Memo<1024> CassetteFlap{this, "CassetteFlap"};
  files::Memo<1024> CassetteTitle{this, "CassetteTitle"};
  files::Memo<3000> CassetteContentsA{this, "CassetteContentsA"};
  files::Memo<3000> CassetteContentsB{this, "CassetteContentsB"};
};

struct FontRecord : files::Record {
  FontRecord() : Record("FON") {}
  files::Decimal<11> FontID{this, "FontID"};
  files::String<32> TypeFace{this, "TypeFace"};
  files::String<32> Size{this, "Size"};
  files::String<32> Colour{this, "Colour"};
  files::String<32> Style{this, "Style"};
};

// One row per track being entered; Instance tells apart wizards that are open at the same time.
struct AddWizardRecord : files::Record {
  AddWizardRecord() : Record("AW") {}
  files::Decimal<11> Instance{this, "Instance"};
  files::String<1> Side{this, "Side"};
  files::Decimal<3> Track{this, "Track"};
  files::String<30> Artist{this, "Artist"};
  files::String<30> Title{this, "Title"};
  files::Long Time{this, "Time"};
};

struct TipRecord : files::Record {
  TipRecord() : Record("TIP") {}
  files::String<1024> Tip{this, "Tip"};
  files::Long ID{this, "ID"};
};

// One line of the event log; the fields lie side by side at their widths.
struct EventLogRecord : files::Record {
  EventLogRecord() : Record("EVL") {}
  files::String<12> LogDate{this, "LogDate"};
  files::String<10> LogTime{this, "LogTime"};
  files::String<30> LogLabel{this, "LogLabel"};
  files::String<50> LogData{this, "LogData"};
};

// --- indexed files -------------------------------------------------------------------------------

// The first four keys hold every song; the others are optional and leave out songs whose key fields
// are all empty.
struct SongsFile : files::File {
  SongsFile(SongRecord& r, const char* label) : File(r, label, "kvxdata", 6), buf(r) {}
  SongRecord& buf;
  files::Key SongsByArtist{this, "SongsByArtist", {&buf.Artist, &buf.Title, &buf.Mix}, files::kDuplicates};
  files::Key SongsByTitle{this, "SongsByTitle", {&buf.Title, &buf.Artist}, files::kDuplicates};
  files::Key SongsByAlbum{this,
                          "SongsByAlbum",
                          {&buf.Album, &buf.Artist, &buf.Side, &buf.TrackNumber, &buf.Title},
                          files::kDuplicates};
  files::Key SongsByMedia{
      this, "SongsByMedia", {&buf.Media, &buf.FileNumber, &buf.Title}, files::kDuplicates};
  files::Key SongsByCategory{this,
                             "SongsByCategory",
                             {&buf.CategoryID, &buf.Artist, &buf.Title, &buf.Album},
                             files::kDuplicates | files::kOptional};
  files::Key SongsByChartNumber{this,
                                "SongsByChartNumber",
                                {&buf.ChartNumber, &buf.Artist, &buf.Title},
                                files::kDuplicates | files::kOptional};
  files::Key SongsByUserDefinedKey{this,
                                   "SongsByUserDefinedKey",
                                   {&buf.UserDefinedKeyField, &buf.Artist, &buf.Title},
                                   files::kDuplicates | files::kOptional};
  files::Key KeyID{this, "KeyID", {&buf.ID}, files::kPrimary | files::kNumbered, "Unique Song ID"};
  // TrackNumber is numbered within AlbumID and Side.
  files::Key KeyAlbumID{this,
                        "KeyAlbumID",
                        {&buf.AlbumID, &buf.Side, &buf.TrackNumber},
                        files::kDuplicates | files::kOptional | files::kNumbered};
  files::Key KeyBeatsPerMinute{this,
                               "KeyBeatsPerMinute",
                               {&buf.BeatsPerMinute, &buf.Title, &buf.Artist},
                               files::kDuplicates | files::kOptional};
  files::Key KeyFileNumber{this, "KeyFileNumber", {&buf.FileNumber}, files::kDuplicates | files::kOptional};
  files::Key KeyMix{
      this, "KeyMix", {&buf.Mix, &buf.Title, &buf.Artist}, files::kDuplicates | files::kOptional};
};

struct CategoriesFile : files::File {
  explicit CategoriesFile(CategoryRecord& r) : File(r, "Categories", "KVXCAT", 1), buf(r) {}
  CategoryRecord& buf;
  files::Key KeyCategoryID{this, "KeyCategoryID", {&buf.CategoryID}, files::kPrimary | files::kNumbered};
  // Unique without regard to case: no two categories may share a name in any letter case.
  files::Key KeyCategory{this, "KeyCategory", {&buf.Category}, files::kUnique | files::kOptional};
};

struct AlbumFile : files::File {
  explicit AlbumFile(AlbumRecord& r) : File(r, "Album", "kvxalbum", 3), buf(r) {}
  AlbumRecord& buf;
  files::Key KeyAlbumID{this, "KeyAlbumID", {&buf.AlbumID}, files::kPrimary | files::kNumbered};
  files::Key KeyAlbum{this, "KeyAlbum", {&buf.Album, &buf.Artist}, files::kUnique | files::kOptional};
  files::Key KeyArtist{this, "KeyArtist", {&buf.Artist, &buf.Album}, files::kUnique | files::kOptional};
  // Optional, so albums without a serial number never collide.
  files::Key KeyCDIdentifier{this, "KeyCDIdentifier", {&buf.CDIdentifier}, files::kUnique | files::kOptional};
  files::Key KeyFileNumber{this, "KeyFileNumber", {&buf.FileNumber}, files::kDuplicates | files::kOptional};
  files::Key KeyCategory{
      this, "KeyCategory", {&buf.CategoryID, &buf.Album, &buf.Artist}, files::kDuplicates | files::kOptional};
  files::Key KeyCategoryArtist{this,
                               "KeyCategoryArtist",
                               {&buf.CategoryID, &buf.Artist, &buf.Album},
                               files::kDuplicates | files::kOptional};
};

// Media formats are joined to songs and albums by name, not by number.
struct MediaFile : files::File {
  explicit MediaFile(MediaRecord& r) : File(r, "Media", "kvxmedia", 1), buf(r) {}
  MediaRecord& buf;
  files::Key KeyMedia{this, "KeyMedia", {&buf.Media}, files::kUnique | files::kOptional};
};

struct PlaylistMasterFile : files::File {
  explicit PlaylistMasterFile(PlaylistMasterRecord& r) : File(r, "PlaylistMaster", "kvxplist", 1), buf(r) {}
  PlaylistMasterRecord& buf;
  files::Key KeyPlaylistID{this, "KeyPlaylistID", {&buf.PlaylistID}, files::kPrimary | files::kNumbered};
  files::Key KeyPlaylistDescription{
      this, "KeyPlaylistDescription", {&buf.PlaylistDescription}, files::kUnique | files::kOptional};
};

struct PlaylistDetailsFile : files::File {
  explicit PlaylistDetailsFile(PlaylistDetailRecord& r) : File(r, "PlaylistDetails", "kvxpldet", 2), buf(r) {}
  PlaylistDetailRecord& buf;
  // PlaylistSeq is numbered within PlaylistID.
  files::Key KeyPlaylistID{
      this, "KeyPlaylistID", {&buf.PlaylistID, &buf.PlaylistSeq}, files::kPrimary | files::kNumbered};
  // Not optional: every entry is listed, song number 0 included, so looking up the entries that
  // hold a song meets all of them.
  files::Key KeyID{this, "KeyID", {&buf.ID}, files::kDuplicates};
};

struct LabelsFile : files::File {
  explicit LabelsFile(LabelRecord& r) : File(r, "Labels", "kvxlabel", 2), buf(r) {}
  LabelRecord& buf;
  files::Key KeyLabelID{this, "KeyLabelID", {&buf.LabelID}, files::kPrimary | files::kNumbered};
  files::Key KeyLabelDescription{
      this, "KeyLabelDescription", {&buf.LabelDescription}, files::kUnique | files::kOptional};
  files::Key KeyLabelType{
      this, "KeyLabelType", {&buf.LabelType, &buf.LabelDescription}, files::kDuplicates | files::kOptional};
};

struct FontsFile : files::File {
  explicit FontsFile(FontRecord& r) : File(r, "Fonts", "kvxfont", 1), buf(r) {}
  FontRecord& buf;
  files::Key KeyFontID{this, "KeyFontID", {&buf.FontID}, files::kPrimary | files::kNumbered};
  // Unique over all four parts, so the same font settings are never stored twice.
  files::Key KeyTypeFace{this,
                         "KeyTypeFace",
                         {&buf.TypeFace, &buf.Size, &buf.Colour, &buf.Style},
                         files::kUnique | files::kOptional};
};

struct AddWizardFile : files::File {
  explicit AddWizardFile(AddWizardRecord& r) : File(r, "AddWizard", "KVXAdWiz", 1), buf(r) {}
  AddWizardRecord& buf;
  // Track is numbered within Instance and Side.
  files::Key KeyInstance{
      this, "KeyInstance", {&buf.Instance, &buf.Side, &buf.Track}, files::kPrimary | files::kNumbered};
};

struct TipsFile : files::File {
  explicit TipsFile(TipRecord& r) : File(r, "KVXTips", "KVXTIPS", 0), buf(r) {}
  TipRecord& buf;
  files::Key KeyTip{this, "KeyTip", {&buf.Tip}, files::kUnique | files::kOptional};
  files::Key KeyID{this, "KeyID", {&buf.ID}, files::kPrimary | files::kNumbered};
};

// --- the program's buffers and files -------------------------------------------------------------

extern SongRecord MUS;
extern SongRecord A_S;
extern CategoryRecord CAT;
extern AlbumRecord ALB;
extern MediaRecord MED;
extern PlaylistMasterRecord PLD;
extern PlaylistDetailRecord PLA;
extern LabelRecord LAB;
extern FontRecord FON;
extern AddWizardRecord AW;
extern TipRecord TIP;
extern EventLogRecord EVL;

extern SongsFile Cantorix;
extern SongsFile A_Songs;  // alias of Cantorix
extern CategoriesFile Categories;
extern AlbumFile Album;
extern MediaFile Media;
extern PlaylistMasterFile PlaylistMaster;
extern PlaylistDetailsFile PlaylistDetails;
extern LabelsFile Labels;
extern FontsFile Fonts;
extern AddWizardFile AddWizard;
extern TipsFile KVXTips;
extern files::TextFile EventLog;

// The distinct indexed files, each once (the alias A_Songs is left out), in the catalogue's order:
// what start-up creates, opens and upgrades.
std::vector<files::File*> databaseFiles();

// Blanks every record buffer, the alias's and the event log's included.
void clearRecordBuffers();

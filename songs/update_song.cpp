// UpdateSong: the form of one song. It adds, copies, changes and deletes songs for the browses and
// album windows, fills a new song from the album it is added to, adds a missing category on the
// spot, and attaches a saved song to its album (creating the album) when "AutoAddToAlbums" is on.
#include <QString>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "platform/picture/picture.h"
#include "platform/runtime/control.h"
#include "platform/runtime/message.h"
#include "platform/runtime/window.h"
#include "songs/songs.h"
#include "storage/form.h"
#include "storage/messages.h"
#include "storage/records.h"
#include "storage/requests.h"
#include "storage/settings.h"

namespace {

enum Control {
  kSheet = 1,
  kTabGeneral = 10,
  kArtist,
  kTitle,
  kAlbum,
  kMedia,
  kTime,
  kFileNumber,
  kReleaseDate,
  kCategory,
  kTrack,
  kSide,
  kTabDj = 30,
  kBpm,
  kChart,
  kMix,
  kStyle,
  kRating,
  kInOut,
  kSkips,
  kDoNotPlay,
  kLive,
  kEndType,
  kSlow,
  kFast,
  kAbrupt,
  kTabRecording = 50,
  kRecording,
  kComposer,
  kPerformance,
  kTabCustom = 60,
  kUserDefined,
  kInfo1,
  kInfo2,
  kInfo3,
  kTabNotes = 70,
  kNotes,
  kSideTrack = 80,
  kDefaultFromAlbum,
  kOk,
  kCancel,
  kPromptOffset = 100,  // a field's prompt has the field's number plus this
};

// A time above two hours was typed as minutes and seconds.
const qint64 kTwoHours = pic::timeValue(2, 0, 0);

files::String<30> CategoryName;  // what the category combo shows

struct Field {
  int number;
  int tab;
  const char* prompt;
  rt::ControlKind kind;
  files::Field* variable;
  const char* picture;
  int width;
};

void declare(rt::Window& w) {
  using K = rt::ControlKind;
  w.add({.kind = K::Sheet, .number = kSheet, .rect = {6, 6, 548, 330}});
  for (const auto& [n, caption] :
       std::vector<std::pair<int, const char*>>{{kTabGeneral, "&General"},
                                                {kTabDj, "DJ"},
                                                {kTabRecording, "Recording/Performance"},
                                                {kTabCustom, "Custom"},
                                                {kTabNotes, "&Notes"}})
    w.add({.kind = K::Tab, .number = n, .text = caption, .parent = kSheet});
  const Field fields[] = {
      {kArtist, kTabGeneral, "&Artist:", K::Entry, &MUS.Artist, "@s50", 360},
      {kTitle, kTabGeneral, "&Title:", K::Entry, &MUS.Title, "@s50", 360},
      {kAlbum, kTabGeneral, "&Album:", K::Entry, &MUS.Album, "@s50", 360},
      {kMedia, kTabGeneral, "&Media:", K::DropList, &MUS.Media, "@s20", 200},
      {kTime, kTabGeneral, "T&ime:", K::Entry, &MUS.Time, "@t4", 100},
      {kFileNumber, kTabGeneral, "&File Number:", K::Entry, &MUS.FileNumber, "@s20", 200},
      {kReleaseDate, kTabGeneral, "&Release Date:", K::Entry, &MUS.ReleaseDate, "@d17", 120},
      {kCategory, kTabGeneral, "&Category:", K::Combo, &CategoryName, "@s30", 240},
      {kTrack, kTabGeneral, "Track &Number:", K::Entry, &MUS.TrackNumber, "@n3", 60},
      {kSide, kTabGeneral, "Side/Disc:", K::Entry, &MUS.Side, "@n2b", 60},
      {kBpm, kTabDj, "Beats Per Minute:", K::Entry, &MUS.BeatsPerMinute, "@n_4b", 80},
      {kChart, kTabDj, "Highest Chart Number:", K::Entry, &MUS.ChartNumber, "@n3b", 60},
      {kMix, kTabDj, "Mix:", K::Entry, &MUS.Mix, "@s30", 240},
      {kStyle, kTabDj, "Style:", K::Entry, &MUS.Style, "@s30", 240},
      {kRating, kTabDj, "Rating:", K::Entry, &MUS.Rating, "@n2b", 60},
      {kInOut, kTabDj, "In/Out:", K::Entry, &MUS.InOut, "@s20", 200},
      {kUserDefined, kTabCustom, "User Defined Key Field:", K::Entry, &MUS.UserDefinedKeyField, "@s30", 240},
      {kInfo1, kTabCustom, "Additional Information 1:", K::Entry, &MUS.AdditionalInformation1, "@s80", 360},
      {kInfo2, kTabCustom, "Additional Information 2:", K::Entry, &MUS.AdditionalInformation2, "@s80", 360},
      {kInfo3, kTabCustom, "Additional Information 3:", K::Entry, &MUS.AdditionalInformation3, "@s80", 360},
  };
  std::map<int, int> row;
  for (const Field& f : fields) {
    const int y = 40 + 28 * row[f.tab]++;
    w.add({.kind = K::Prompt,
           .number = f.number + kPromptOffset,
           .text = f.prompt,
           .rect = {16, y, 160, 24},
           .parent = f.tab});
    w.add({.kind = f.kind,
           .number = f.number,
           .rect = {180, y, f.width, 24},
           .picture = f.picture,
           .parent = f.tab})
        .use(*f.variable);
  }
  w.control(kUserDefined + kPromptOffset)
      ->setTip("See File/Preferences/Customization to label this field to suit your needs");
  w.control(kUserDefined)
      ->setTip("See File/Preferences/Customization to label this field to suit your needs");
  int y = 40 + 28 * row[kTabDj];
  for (const auto& [n, text, var] :
       std::vector<std::tuple<int, const char*, files::Field*>>{{kSkips, "Skips", &MUS.Skips},
                                                                {kDoNotPlay, "Do Not Play", &MUS.DoNotPlay},
                                                                {kLive, "Live", &MUS.Live}}) {
    w.add({.kind = K::Check, .number = n, .text = text, .rect = {180, y, 160, 24}, .parent = kTabDj})
        .use(*var);
    y += 26;
  }
  w.add({.kind = K::Option,
         .number = kEndType,
         .text = "Type of Ending",
         .rect = {360, 40 + 28 * 6, 170, 100},
         .parent = kTabDj})
      .use(MUS.EndType);
  int ry = 40 + 28 * 6 + 22;
  for (const auto& [n, text] :
       std::vector<std::pair<int, const char*>>{{kSlow, "Slow"}, {kFast, "Fast"}, {kAbrupt, "Abrupt"}}) {
    w.add({.kind = K::Radio, .number = n, .text = text, .rect = {372, ry, 140, 22}, .parent = kEndType});
    ry += 24;
  }
  w.control(kEndType)->display();
  w.add({.kind = K::Prompt,
         .number = kRecording + kPromptOffset,
         .text = "Recording Information:",
         .rect = {16, 40, 200, 22},
         .parent = kTabRecording});
  w.add({.kind = K::Text, .number = kRecording, .rect = {16, 62, 516, 80}, .parent = kTabRecording})
      .use(MUS.Recording);
  w.add({.kind = K::Prompt,
         .number = kComposer + kPromptOffset,
         .text = "Composer:",
         .rect = {16, 152, 160, 24},
         .parent = kTabRecording});
  w.add({.kind = K::Entry,
         .number = kComposer,
         .rect = {180, 152, 352, 24},
         .picture = "@s80",
         .parent = kTabRecording})
      .use(MUS.Composer);
  w.add({.kind = K::Prompt,
         .number = kPerformance + kPromptOffset,
         .text = "Performance Notes:",
         .rect = {16, 184, 200, 22},
         .parent = kTabRecording});
  w.add({.kind = K::Text, .number = kPerformance, .rect = {16, 206, 516, 116}, .parent = kTabRecording})
      .use(MUS.PerformanceNotes);
  w.add({.kind = K::Text, .number = kNotes, .rect = {16, 40, 516, 284}, .parent = kTabNotes}).use(MUS.Notes);
  w.add({.kind = K::String, .number = kSideTrack, .rect = {16, 342, 200, 22}});
  w.add({.kind = K::Button,
         .number = kDefaultFromAlbum,
         .text = "Default with Album Information",
         .rect = {10, 372, 240, 30}});
  w.add({.kind = K::Button, .number = kOk, .text = "&OK", .rect = {360, 372, 90, 30}, .flags = rt::kDefault});
  w.add({.kind = K::Button, .number = kCancel, .text = "Cancel", .rect = {458, 372, 90, 30}});
}

}  // namespace

namespace {

// The song's album fields from the album in the buffer: only where the song's are blank, or all.
void defaultFromAlbum(bool overwrite) {
  const auto take = [overwrite](files::Field& song, const files::Field& album) {
    if (overwrite || song.isBlank()) song.setValue(album.value());
  };
  take(MUS.Notes, ALB.Notes);
  take(MUS.FileNumber, ALB.FileNumber);
  take(MUS.Artist, ALB.Artist);
  take(MUS.ReleaseDate, ALB.ReleaseDate);
  take(MUS.CategoryID, ALB.CategoryID);
  MUS.Album = ALB.Album;
  MUS.Media = ALB.Media;
  MUS.AlbumID = ALB.AlbumID.get();
  MUS.Side = GLO::Side.get();
}

// The look-up lists the form keeps: media names and categories (name and number), by name.
struct Lookups {
  QStringList media;
  std::vector<std::pair<QString, qint64>> categories;

  // False (after message 35) when a file cannot be read to its end.
  bool fill() {
    media.clear();
    categories.clear();
    const files::Record::Snapshot medSaved = MED.snapshot(), catSaved = CAT.snapshot();
    files::Status s;
    Media.set(Media.KeyMedia);
    while ((s = Media.next()))
      media << MED.Media.str();
    MED.restore(medSaved);
    if (s.code != files::kNoRecord) {
      StandardMessage(msg::kRecordRetrievalError, {.file = "Media", .error = s});
      return false;
    }
    Categories.set(Categories.KeyCategory);
    while ((s = Categories.next()))
      categories.emplace_back(CAT.Category.str(), CAT.CategoryID.get());
    CAT.restore(catSaved);
    if (s.code != files::kNoRecord) {
      StandardMessage(msg::kRecordRetrievalError, {.file = "Categories", .error = s});
      return false;
    }
    return true;
  }
  QStringList categoryNames() const {
    QStringList names;
    for (const auto& [name, id] : categories)
      names << name;
    return names;
  }
  std::optional<qint64> categoryNamed(const QString& name) const {
    for (const auto& [n, id] : categories)
      if (n.compare(name.trimmed(), Qt::CaseInsensitive) == 0 ||
          n.toCaseFolded() == name.trimmed().toCaseFolded())
        return id;
    return std::nullopt;
  }
  QString nameOf(qint64 id) const {
    for (const auto& [n, i] : categories)
      if (i == id) return n;
    return QString();
  }
};

// The combo box's text as the song's category; a name not known yet may be added after asking.
// False when the cursor stays in the combo box.
bool acceptCategory(rt::Window& w, Lookups& lists) {
  w.control(kCategory)->update();
  const QString typed = CategoryName.str().trimmed();
  if (typed.isEmpty()) {
    MUS.CategoryID = 0;
    return true;
  }
  for (int round = 0; round < 2; ++round) {
    if (const std::optional<qint64> id = lists.categoryNamed(typed)) {
      MUS.CategoryID = *id;
      CategoryName = lists.nameOf(*id);
      w.control(kCategory)->display();
      return true;
    }
    if (round == 1) break;
    if (rt::message("Add new category?", "Category not found", rt::Icon::Question, rt::kYesNo, rt::kYes) !=
        rt::kYes) {
      w.control(kCategory)->setFocus();
      return false;
    }
    CAT.clear();
    Categories.set(Categories.KeyCategoryID);
    CAT.CategoryID = Categories.previous() ? CAT.CategoryID.get() + 1 : 1;
    CAT.Category = typed;
    if (const files::Status s = Categories.add(); !s)
      rt::message("Unable to add category - " + ErrorText(s), "Error!", rt::Icon::Information);
    if (!lists.fill()) return false;
    w.control(kCategory)->setItems(lists.categoryNames());
  }
  w.control(kCategory)->setFocus();
  return false;
}

bool acceptMedia(rt::Window& w) {
  w.control(kMedia)->update();
  const QString chosen = MUS.Media.str();
  const files::Record::Snapshot saved = MED.snapshot();
  MED.Media = chosen;
  const bool known = Media.get(Media.KeyMedia).ok();
  MED.restore(saved);
  if (known) return true;
  StandardMessage(msg::kFieldContentsError, {.file = "Media", .field = "Media"});
  w.control(kMedia)->setFocus();
  return false;
}

void acceptTime(rt::Window& w) {
  if (MUS.Time > kTwoHours) {
    MUS.Time = (MUS.Time - 1) / 60 + 1;
    w.control(kTime)->display();
  }
}

void showSideAndTrack(rt::Window& w) {
  w.control(kSideTrack)
      ->setText(pic::format(qlonglong(MUS.Side), "@p<<-pb") + pic::format(qlonglong(MUS.TrackNumber), "@n3"));
}

// Attaches a song without an album to the album of its title and artist, creating the album when
// there is none. A song without an album title stays without an album.
void attachToAlbum() {
  if (Pref::AutoAddToAlbums.isBlank() || MUS.AlbumID != 0 || MUS.Album.isBlank()) return;
  ALB.clear();
  ALB.Album = MUS.Album;
  ALB.Artist = MUS.Artist;
  if (!Album.get(Album.KeyAlbum)) {
    Album.set(Album.KeyAlbumID);
    const qint64 number = Album.previous() ? ALB.AlbumID.get() + 1 : 1;
    ALB.clear();
    ALB.AlbumID = number;
    ALB.Notes = MUS.Notes;
    ALB.FileNumber = MUS.FileNumber;
    ALB.Artist = MUS.Artist;
    ALB.Album = MUS.Album;
    ALB.Media = MUS.Media;
    ALB.ReleaseDate = MUS.ReleaseDate.get();
    ALB.CategoryID = MUS.CategoryID.get();
    if (!Album.add()) return;  // not reported: the song is saved without an album
  }
  MUS.AlbumID = ALB.AlbumID.get();
}

const std::vector<Form::Range> kRanges = {{kTrack, &MUS.TrackNumber, 0, 99, "Track"},
                                          {kChart, &MUS.ChartNumber, 0, 100, "Chart"},
                                          {kRating, &MUS.Rating, 0, 10, "MUS:Rating"}};

void run(Form& form) {
  const files::Record::Snapshot incoming = MUS.snapshot();
  if (form.isInsert()) {
    if (AlbumContext != NoAlbumContext) {
      MUS.FileNumber = ALB.FileNumber;
      MUS.Album = ALB.Album;
      MUS.Artist = ALB.Artist;
      MUS.ReleaseDate = ALB.ReleaseDate.get();
      MUS.AlbumID = ALB.AlbumID.get();
      MUS.Side = GLO::Side.get();
    }
    if (!form.number()) return;
    if (form.isCopy()) {
      const qint32 id = MUS.ID;
      MUS.restore(incoming);
      MUS.ID = id;
    }
    if (MUS.Media.isBlank()) MUS.Media = "CD";
    if (AlbumContext != NoAlbumContext) defaultFromAlbum(false);
  } else if (form.isDelete()) {
    form.erase();
    return;
  }
  form.remember();

  rt::Window& w = form.window(
      {.title = "Update the Cantorix Database", .size = {560, 412}, .kind = rt::WindowKind::Document});
  declare(w);
  form.show();
  if (!Pref::UDKPrompt.isBlank())
    w.control(kUserDefined + kPromptOffset)->setText(Pref::UDKPrompt.str() + ":");
  if (AlbumContext != NoAlbumContext) {
    w.control(kDefaultFromAlbum)->setHidden(true);
    w.control(kAlbum)->setEnabled(false);
    w.control(kMedia)->setEnabled(false);
    if (AlbumContext == WizardSingleArtist) {
      MUS.Artist = ALB.Artist;
      w.control(kArtist)->setEnabled(false);
    }
  }
  w.alert(Qt::Key_Escape);
  w.setTitle(form.isInsert() ? "Adding Information" : "Changing Information");

  Lookups lists;
  if (!lists.fill()) {
    form.setResponse(RequestCancelled);
    return;
  }
  w.control(kMedia)->setItems(lists.media);
  if (MUS.Media.isBlank() && !lists.media.isEmpty()) MUS.Media = lists.media.first();
  w.control(kCategory)->setItems(lists.categoryNames());
  CategoryName = lists.nameOf(MUS.CategoryID);
  w.display();
  showSideAndTrack(w);
  w.control(kArtist)->setFocus();

  while (w.accept()) {
    const rt::Event& e = w.event();
    if (form.handle(e)) continue;
    if (e.kind == rt::EventKind::AlertKey && e.key == Qt::Key_Escape) {
      w.post(rt::EventKind::CloseWindow);
      continue;
    }
    if (e.kind != rt::EventKind::Accepted) continue;
    switch (e.control) {
      case kMedia:
        acceptMedia(w);
        break;
      case kTime:
        acceptTime(w);
        break;
      case kCategory:
        acceptCategory(w, lists);
        break;
      case kTrack:
      case kSide:
        showSideAndTrack(w);
        if (e.control == kTrack) form.checkRanges({kRanges[0]});
        break;
      case kChart:
        form.checkRanges({kRanges[1]});
        break;
      case kRating:
        form.checkRanges({kRanges[2]});
        break;
      case kDefaultFromAlbum:
        NotAvailableYet("Select Album");
        break;
      case kCancel:
        LastButton = "Cancel";
        w.post(rt::EventKind::CloseWindow);
        break;
      case kOk: {
        LastButton = "OK";
        if (!w.update()) break;
        attachToAlbum();
        acceptTime(w);
        if (!acceptMedia(w) || !acceptCategory(w, lists) || !form.checkRanges(kRanges)) break;
        const Form::Outcome o = form.complete(kArtist);
        if (o != Form::Outcome::Stay) w.post(rt::EventKind::CloseWindow);
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

void UpdateSong() {
  LastButton = QString();
  if (MUS.Media.isBlank()) MUS.Media = "CD";
  Form form(Cantorix, "UpdateSong", {&Album, &Categories, &Media, &Cantorix});
  if (form) run(form);
}

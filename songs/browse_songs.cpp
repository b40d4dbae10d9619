// BrowseSongs: the main list of the songs file in eight sort orders, with the media and category
// tabs limited to a chosen value, a search filter, and the buttons that add, copy, change and delete
// songs.
#include <QString>

#include "platform/runtime/window.h"
#include "songs/songs.h"
#include "storage/browse_window.h"
#include "storage/messages.h"
#include "storage/records.h"
#include "storage/requests.h"
#include "storage/settings.h"

namespace {

enum Control {
  kList = 1,
  kAdd = 2,
  kCopy = 3,
  kChange = 4,
  kDelete = 5,
  kSearch = 6,
  kResetSearch = 7,
  kImport = 8,
  kExport = 9,
  kLocatorPrompt = 10,
  kLocator = 11,
  kPrint = 12,
  kClose = 13,
  kSheet = 16,
  kSelectMedia = 17,
  kSelectCategory = 18,
  kTabArtist = 101,
  kTabTitle,
  kTabAlbum,
  kTabMedia,
  kTabCategory,
  kTabChart,
  kTabBpm,
  kTabUdk,
};

const char* const kDesignedFormat =
    "77L(2)|M~Artist~@s50@75L(2)|M~Title~@s50@76L(2)|M~Album~@s50@39L(2)|M~Media~@s20@43L(2)|M~File "
    "Number~@s20@51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@36R(2)|M~Released~C(0)@d17b@24R(2)|M~BPM~"
    "C(0)@"
    "n_4b@120R(2)|M~User Defined Key Field~C(0)@s30@42R(2)|M~Last "
    "Played~C(0)@d17-@[10R|M@p(<)pb@12R|M@n3b@](21)|"
    "M~Track~120L(2)|M~Style~C(0)@s30@12R(2)|M~Chart Number~L(0)@n3@";

rt::WindowDecl windowDecl() {
  return {.title = "Browse Songs", .size = {820, 470}, .strategy = rt::ResizeStrategy::List};
}

void declareControls(rt::Window& w) {
  using K = rt::ControlKind;
  w.add({.kind = K::Sheet, .number = kSheet, .rect = {6, 6, 700, 420}});
  const std::pair<int, const char*> tabs[] = {{kTabArtist, "By Artist"},     {kTabTitle, "By Title"},
                                              {kTabAlbum, "By Album"},       {kTabMedia, "By Media"},
                                              {kTabCategory, "By Category"}, {kTabChart, "By Chart #"},
                                              {kTabBpm, "By BPM"},           {kTabUdk, "By UDK"}};
  for (const auto& [number, caption] : tabs)
    w.add({.kind = K::Tab, .number = number, .text = caption, .parent = kSheet});
  w.add({.kind = K::List, .number = kList, .rect = {14, 36, 684, 330}, .tip = "Right-Click for Options"});
  w.add({.kind = K::Button,
         .number = kSelectMedia,
         .text = "Se&lect Media",
         .rect = {14, 372, 120, 26},
         .parent = kTabMedia});
  w.add({.kind = K::Button,
         .number = kSelectCategory,
         .text = "Se&lect Category",
         .rect = {14, 372, 120, 26},
         .parent = kTabCategory});
  w.add({.kind = K::Prompt,
         .number = kLocatorPrompt,
         .text = "Quick Locator (select list box and type to locate):",
         .rect = {14, 436, 330, 24}});
  w.add({.kind = K::Entry, .number = kLocator, .rect = {344, 436, 100, 24}, .flags = rt::kReadOnly});
  const std::pair<int, const char*> buttons[] = {{kAdd, "&Add"},       {kCopy, "Cop&y"},
                                                 {kChange, "&Change"}, {kDelete, "&Delete"},
                                                 {kSearch, "&Search"}, {kResetSearch, "Reset Search"},
                                                 {kImport, "&Import"}, {kExport, "&Export"},
                                                 {kPrint, "&Print"},   {kClose, "Cl&ose"}};
  int y = 36;
  for (const auto& [number, text] : buttons) {
    w.add({.kind = K::Button, .number = number, .text = text, .rect = {714, y, 98, 28}});
    y += number == kExport || number == kResetSearch ? 44 : 34;
  }
}

QString tabCaptionForUdk() {
  const QString prompt = Pref::UDKPrompt.str();
  return prompt.isEmpty() ? QString("By UDK") : "By " + prompt.left(10);
}

}  // namespace

void BrowseSongs() {
  AlbumContext = NoAlbumContext;
  // The values the two range tabs are limited to, under the names their conditions use; they last
  // as long as the window.
  files::String<20> rangeMedia;
  files::Long rangeCategory;
  BrowseWindow bw(
      {.procedure = "BrowseSongs",
       .window = windowDecl(),
       .files = {&Categories, &Media, &Cantorix},
       .list = kList,
       .format = kDesignedFormat,
       .minimumSize = {748, 340},
       .sheet = kSheet,
       .tabs = {kTabArtist, kTabTitle, kTabAlbum, kTabMedia, kTabCategory, kTabChart, kTabBpm, kTabUdk},
       .tabSetting = "SongTab"});
  if (!bw) return;
  rt::Window& w = bw.window();
  declareControls(w);
  w.control(kTabUdk)->setText(tabCaptionForUdk());
  bw.open();

  const auto title = [&] { w.setTitle(QString("Songs - %1 entries").arg(Cantorix.records())); };
  title();

  Browse& browse = bw.browse(Cantorix,
                             {
                                 {kTabArtist, &Cantorix.SongsByArtist},
                                 {kTabTitle, &Cantorix.SongsByTitle},
                                 {kTabAlbum, &Cantorix.SongsByAlbum},
                                 {kTabMedia, &Cantorix.SongsByMedia,
                                  "UPPER(MUS:Media) = UPPER(BRW1::Sort3:Reset:MED:Media)", &rangeMedia},
                                 {kTabCategory, &Cantorix.SongsByCategory,
                                  "MUS:CategoryID = BRW1::Sort4:Reset:CAT:CategoryID", &rangeCategory},
                                 {kTabChart, &Cantorix.SongsByChartNumber},
                                 {kTabBpm, &Cantorix.KeyBeatsPerMinute},
                                 {kTabUdk, &Cantorix.SongsByUserDefinedKey},
                             },
                             {.add = kAdd,
                              .change = kChange,
                              .remove = kDelete,
                              .print = kPrint,
                              .search = kSearch,
                              .import = kImport,
                              .exportButton = kExport});
  browse.names().bind(MUS);
  browse.names().bind(CAT);
  browse.names().bind(MED);
  browse.names().bind("BRW1::Sort3:Reset:MED:Media", rangeMedia);
  browse.names().bind("BRW1::Sort4:Reset:CAT:CategoryID", rangeCategory);
  browse.setLocatorEntry(kLocator);
  // Each song's category name and media record, for the category column and for filters on them.
  browse.setRowPreparation([] {
    CAT.CategoryID = MUS.CategoryID.get();
    if (MUS.CategoryID == 0 || !Categories.get(Categories.KeyCategoryID)) CAT.clear();
    MED.Media = MUS.Media;
    if (MUS.Media.isBlank() || !Media.get(Media.KeyMedia)) MED.clear();
  });
  browse.setColumns({[] { return MUS.Artist.value(); }, [] { return MUS.Title.value(); },
                     [] { return MUS.Album.value(); }, [] { return MUS.Media.value(); },
                     [] { return MUS.FileNumber.value(); }, [] { return CAT.Category.value(); },
                     [] { return MUS.Time.value(); }, [] { return MUS.ReleaseDate.value(); },
                     [] { return MUS.BeatsPerMinute.value(); },
                     [] { return MUS.UserDefinedKeyField.value(); }, [] { return MUS.LastPlayed.value(); },
                     [] { return MUS.Side.value(); }, [] { return MUS.TrackNumber.value(); },
                     [] { return MUS.Style.value(); }, [] { return MUS.ChartNumber.value(); }});
  browse.setDragSource("Songs", [] { return QString::number(MUS.ID); });

  w.control(kResetSearch)->setEnabled(false);
  browse.start();

  while (w.accept()) {
    const rt::Event& e = w.event();
    if (browse.handle(e)) continue;
    if (e.kind != rt::EventKind::Accepted) continue;
    switch (e.control) {
      case kClose:
        w.post(rt::EventKind::CloseWindow);
        break;
      case kResetSearch:
        browse.setSearch(QString());
        w.control(kResetSearch)->setEnabled(false);
        title();
        break;
      case kAdd:
        MUS.clear();
        if (browse.currentTab() == kTabMedia) MUS.Media = rangeMedia;
        if (browse.currentTab() == kTabCategory) MUS.CategoryID = rangeCategory.get();
        GlobalRequest = InsertRecord;
        UpdateSong();
        if (GlobalResponse == RequestCompleted) browse.reloadOn(Cantorix.position());
        title();
        break;
      case kCopy:
      case kChange:
      case kDelete: {
        if (!browse.readSelected()) break;
        GlobalRequest = e.control == kCopy     ? SelectRecord
                        : e.control == kChange ? ChangeRecord
                                               : DeleteRecord;
        UpdateSong();
        if (GlobalResponse != RequestCompleted) {
          browse.reload();
        } else if (e.control == kDelete) {
          browse.reload();
        } else {
          browse.reloadOn(Cantorix.position());
        }
        title();
        break;
      }
      case kSelectMedia:
        GlobalRequest = SelectRecord;
        BrowseMedia();
        if (GlobalResponse == RequestCompleted) {
          rangeMedia = MED.Media;
          browse.rangeChanged();
        }
        break;
      case kSelectCategory:
        GlobalRequest = SelectRecord;
        BrowseCategories();
        if (GlobalResponse == RequestCompleted) {
          rangeCategory = CAT.CategoryID.get();
          browse.rangeChanged();
        }
        break;
      case kSearch:
        NotAvailableYet("Query Wizard");
        break;
      case kImport:
        NotAvailableYet("Import");
        break;
      case kExport:
        NotAvailableYet("Export");
        break;
      case kPrint:
        NotAvailableYet("Print");
        break;
      default:
        break;
    }
  }
}

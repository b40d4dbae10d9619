#include "shell/frame_menu.h"

std::vector<rt::MenuItem> FrameMenu() {
  const QString file = "&File", edit = "&Edit", browse = "&Browse", wizards = "&Wizards",
                reports = "&Reports", songs = "&Songs", albums = "&Albums", savers = "Paper S&avers",
                window = "&Window", help = "&Help";
  return {
      {cmd::PrintSetup, {file, "&Print Setup ..."}, "Setup printer"},
      {cmd::Preferences, {file, "Pre&ferences"}, "Options and settings"},
      {cmd::Import, {file, "&Import"}, "Import from a comma-delimited file"},
      {cmd::Export, {file, "&Export"}, "Export to a comma-delimited file"},
      {cmd::CDPlayer, {file, "&CD Player"}, "Start the CD Player"},
      {cmd::Exit, {file, "E&xit"}, "Exit this application"},
      {cmd::Cut, {edit, "Cu&t"}, "Remove item to Windows Clipboard"},
      {cmd::Copy, {edit, "&Copy"}, "Copy item to Windows Clipboard"},
      {cmd::Paste, {edit, "&Paste"}, "Paste contents of Windows Clipboard"},
      {cmd::BrowseAlbums, {browse, "&Albums"}, "Browse Information by Album"},
      {cmd::BrowseSongs, {browse, "&Songs"}, "Browse Cantorix Database"},
      {cmd::Wizards, {browse, wizards}, "", true},
      {cmd::AddAlbum, {browse, wizards, "Add &Album"}, "Add an Album"},
      {cmd::QuickCompilation, {browse, wizards, "Quick &Compilation"}, ""},
      {cmd::QuickSingleArtist, {browse, wizards, "Quick &Single Artist Album"}, ""},
      {cmd::AddLabel, {browse, wizards, "Add &Label"}, ""},
      {cmd::BrowseLabels, {browse, "&Labels"}, ""},
      {cmd::BrowsePlayLists, {browse, "&Play Lists"}, ""},
      {cmd::BrowseCategories, {browse, "&Categories"}, ""},
      {cmd::BrowseMedia, {browse, "&Media Formats"}, "Browse Media Formats"},
      {cmd::Reports, {reports}, "", true},
      {cmd::ReportSongs, {reports, songs}, "", true},
      {cmd::SongsByArtist, {reports, songs, "By &Artist"}, "Print ordered by Songs By Artist"},
      {cmd::SongsByTitle, {reports, songs, "By &Title"}, "Print ordered by Songs By Title"},
      {cmd::SongsByAlbum, {reports, songs, "By A&lbum"}, "Print ordered by Songs By Album"},
      {cmd::SongsByMedia, {reports, songs, "By &Media"}, "Print ordered by Songs By Media"},
      {cmd::SongsByCategory, {reports, songs, "By &Category"}, "Print ordered by Songs By Category"},
      {cmd::SongsByBPM, {reports, songs, "By &BPM"}, "Songs by Beats Per Minute"},
      {cmd::ReportAlbums, {reports, albums}, "", true},
      {cmd::AlbumsByArtist, {reports, albums, "By &Artist"}, "Print List of Albums by Artist"},
      {cmd::AlbumsByAlbum, {reports, albums, "By A&lbum"}, "Print List of Albums"},
      {cmd::AlbumsByFileNumber, {reports, albums, "By &File Number"}, "Print List of Albums by File Number"},
      {cmd::AlbumsByCategory, {reports, albums, "By &Category"}, ""},
      {cmd::CDBinderPages, {reports, "CD Binder Pages"}, "Print 4 per page CD listings"},
      {cmd::PaperSavers, {reports, savers}, "", true},
      {cmd::PaperSaverByArtist, {reports, savers, "By &Artist"}, ""},
      {cmd::PaperSaverByTitle, {reports, savers, "By &Title"}, ""},
      {cmd::ReportLabels, {reports, "&Labels"}, "Design and Print CD and Cassette Labels"},
      {cmd::ReportPlaylists, {reports, "&Playlists"}, ""},
      {cmd::DJLog, {reports, "DJ Log"}, "Log ordered by Artist and Title"},
      {cmd::Tile, {window, "T&ile"}, "Make all open windows visible"},
      {cmd::Cascade, {window, "&Cascade"}, "Stack all open windows"},
      {cmd::ArrangeIcons, {window, "&Arrange Icons"}, "Align all window icons"},
      {cmd::HelpContents, {help, "&Contents"}, "View the contents of the help file"},
      {cmd::HelpSearch, {help, "&Search for Help On..."}, "Search for help on a subject"},
      {cmd::HelpOnHelp, {help, "&How to Use Help"}, "How to use Windows Help"},
      {cmd::Tips, {help, "&Tips"}, "View Tip of the Day"},
      {cmd::About, {help, "&About"}, "Help About This Program"},
  };
}

std::vector<rt::ToolItem> FrameToolbar() {
  return {
      {cmd::ToolAlbums, "Albums", "NOTEPAGE.ICO", "Browse Information by Album"},
      {cmd::ToolSongs, "Songs", "NOTE.ICO", "Browse Cantorix Database"},
      {cmd::ToolLabels, "Labels", "", ""},
      {cmd::ToolPlaylists, "Playlists", "", ""},
      {cmd::ToolPlayCD, "Play CD", "SMCD.ICO", "Start the CD Player"},
      {cmd::ToolLogo, "", "kvx98nte.gif", "", true},
  };
}

int MenuCommandOf(int command) {
  switch (command) {
    case cmd::ToolAlbums:
      return cmd::BrowseAlbums;
    case cmd::ToolSongs:
      return cmd::BrowseSongs;
    case cmd::ToolLabels:
      return cmd::BrowseLabels;
    case cmd::ToolPlaylists:
      return cmd::BrowsePlayLists;
    case cmd::ToolPlayCD:
      return cmd::CDPlayer;
    default:
      return command;
  }
}

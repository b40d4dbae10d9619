// The frame's menu bar and toolbar: command numbers, texts and tips.
#pragma once

#include <vector>

#include "platform/runtime/frame.h"

namespace cmd {
enum : int {
  PrintSetup = -1,
  Preferences = -2,
  Import = -3,
  Export = -4,
  CDPlayer = -5,
  Exit = -6,
  Cut = -7,
  Copy = -8,
  Paste = -9,
  BrowseAlbums = -10,
  BrowseSongs = -11,
  Wizards = -12,
  AddAlbum = -13,
  QuickCompilation = -14,
  QuickSingleArtist = -15,
  AddLabel = -16,
  BrowseLabels = -17,
  BrowsePlayLists = -18,
  BrowseCategories = -19,
  BrowseMedia = -20,
  Reports = -21,
  ReportSongs = -22,
  SongsByArtist = -23,
  SongsByTitle = -24,
  SongsByAlbum = -25,
  SongsByMedia = -26,
  SongsByCategory = -27,
  SongsByBPM = -28,
  ReportAlbums = -29,
  AlbumsByArtist = -30,
  AlbumsByAlbum = -31,
  AlbumsByFileNumber = -32,
  AlbumsByCategory = -33,
  CDBinderPages = -34,
  PaperSavers = -35,
  PaperSaverByArtist = -36,
  PaperSaverByTitle = -37,
  ReportLabels = -38,
  ReportPlaylists = -39,
  DJLog = -40,
  Tile = -41,
  Cascade = -42,
  ArrangeIcons = -43,
  HelpContents = -44,
  HelpSearch = -45,
  HelpOnHelp = -46,
  Tips = -47,
  About = -48,
  ToolAlbums = -49,
  ToolSongs = -50,
  ToolLabels = -51,
  ToolPlaylists = -52,
  ToolPlayCD = -53,
  ToolLogo = -54,
};
}  // namespace cmd

std::vector<rt::MenuItem> FrameMenu();
std::vector<rt::ToolItem> FrameToolbar();
// The menu command a toolbar button stands for; the command itself for anything else.
int MenuCommandOf(int command);

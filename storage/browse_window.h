// The frame of a browse window: what every browse does around its list when it opens and closes,
// written once.
//
//   BrowseWindow bw({.procedure = "BrowseSongs", .window = {...}, .files = {&Categories, &Media, &Cantorix},
//                    .list = kList, .format = kDesignedFormat, .sheet = kSheet, .tabs = {...},
//                    .tabSetting = "SongTab"});
//   if (!bw) return;                 // a file could not be opened (and that was reported)
//   declareControls(bw.window());
//   bw.open();
//   Browse& browse = bw.browse(Cantorix, tabs, buttons);
//   ... browse.start(); while (bw.window().accept()) ...
//
// Opening: the files through the open counts (before anything else), then open() shows the window
// with its minimum size, restores its position, gives the list its designed format with the
// "DateFormat" picture in every date column, or the layout the user saved, and shows the saved tab
// when "SaveLastTab" is set. Tabs are saved by their place among `tabs`, counted from 1.
//
// Closing (the destructor, on every way out): the browse and its view go, the files close, then
// the tab shown, the list's layout and the window's position are saved and the window closes.
#pragma once

#include <QSize>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/runtime/window.h"
#include "storage/browse.h"
#include "storage/file_scope.h"

class BrowseWindow {
 public:
  struct Decl {
    QString procedure;  // the section its position and layout are saved under
    rt::WindowDecl window;
    std::vector<files::File*> files;
    int list = 0;
    QString listName = "Browse";  // the list's name in the layout entries ("SRCF?" + name)
    QString format;               // the list's designed format
    QSize minimumSize;            // empty: the declared size
    int sheet = 0;                // 0: no tabs
    std::vector<int> tabs;        // the sheet's tabs in order
    QString tabSetting;           // entry of section "Settings" that keeps the tab shown; empty: none
  };

  explicit BrowseWindow(Decl decl);
  ~BrowseWindow();
  BrowseWindow(const BrowseWindow&) = delete;
  BrowseWindow& operator=(const BrowseWindow&) = delete;

  explicit operator bool() const { return bool(*files_); }
  rt::Window& window() { return window_; }
  rt::ListBox& list() const;

  void open();
  // The browse of the list; made once, after open().
  Browse& browse(files::File& file, std::vector<BrowseTab> tabs, BrowseButtons buttons);

 private:
  // The place of the tab shown among `tabs`, from 1; 0 when the browse keeps no tab.
  int shownTab() const;

  Decl decl_;
  std::optional<FileScope> files_;
  rt::Window window_;
  std::unique_ptr<Browse> browse_;
  bool opened_ = false;
};

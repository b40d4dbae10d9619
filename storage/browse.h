// The browse machinery: what every browse window of the program does with its list.
//
// A browse shows one page of a file's records at a time, read through a view in the order of the
// current tab's key, limited by the tab's range and the search filter, and it moves through the file
// as the user scrolls, types to locate, drags the 100-step thumb or presses the list's keys. The
// window's procedure declares the tabs, the buttons and the column values, passes every event to
// handle() and acts on its buttons as usual: the list's keys, double clicks and popup menu press
// those buttons (they arrive as Accepted events of the buttons).
//
//   tabs       each tab a key, optionally a range: a condition and the variable that fixes the key's
//              first component (a range tab's selection button sets it)
//   filter     the range condition and the search filter joined as "(range) AND (filter)"; a filter
//              that cannot be used is reported (message 36) and the page is read without either
//   locator    letters typed on the list go into the first key component the range does not fix
//   thumb      the key's values between the first and the last record in 100 steps
//   popup      "&Add", "&Change", "&Delete", then "&Print", "&Search", "&Import" with "&Export", each
//              group after a separator, greyed as their buttons are ("&Change"/"&Delete" on an empty list)
//
// The view's records are read into the file's buffer; handle() and the reloads leave the buffer
// holding the last record read. readSelected() puts the highlighted record back in it.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/expr/bindings.h"
#include "platform/expr/expression.h"
#include "platform/files/view.h"
#include "platform/runtime/window.h"

namespace rt {
class ListBox;
}

struct BrowseTab {
  int tab = 0;  // the tab's control number (0 for a browse without tabs)
  files::Key* key = nullptr;
  QString range;                          // the range condition; empty: none
  files::Field* rangeVariable = nullptr;  // the value the range fixes the key's first component to
};

struct BrowseButtons {
  int add = 0, change = 0, remove = 0, select = 0, print = 0, search = 0, import = 0, exportButton = 0;
};

// An item of a browse's popup menu: its text and the button it presses ("-" alone: a separator).
// An item is greyed when its button is disabled or hidden, and, when `needsRows`, on an empty list.
struct BrowsePopupItem {
  QString text;
  int button = 0;
  bool needsRows = false;
};

class Browse {
 public:
  Browse(rt::Window& window, int list, int sheet, files::File& file, std::vector<BrowseTab> tabs,
         BrowseButtons buttons);
  ~Browse();
  Browse(const Browse&) = delete;
  Browse& operator=(const Browse&) = delete;

  // The names filters may use; bind the browsed files' records and the range variables here.
  expr::Bindings& names() { return names_; }
  // One value per leaf column of the list's format, read from the buffer, shown through the
  // column's picture.
  void setColumns(std::vector<std::function<QVariant()>> values);
  // Run for each record read, before its columns or a record-by-record filter look at it (to read
  // the records it joins).
  void setRowPreparation(std::function<void()> prepare) { prepare_ = std::move(prepare); }
  // The entry that shows the typed locator.
  void setLocatorEntry(int control) { locatorEntry_ = control; }
  // Rows may be dragged as `kind`, each offering `offer()` of its record.
  void setDragSource(const QString& kind, std::function<QString()> offer);
  // The popup menu; the songs browse's ("&Add", "&Change", "&Delete", "&Print", "&Search", "&Import",
  // "&Export" in groups) unless set.
  void setPopup(std::vector<BrowsePopupItem> items) { popup_ = std::move(items); }

  // Fills the first page (after the window has opened and its tab is chosen).
  void start();
  // Handles the list's and the sheet's events; true when the event was the browse's.
  bool handle(const rt::Event& e);

  void setSearch(const QString& filter);
  // Reads the first page again, after the current tab's range variable took a new value.
  void rangeChanged();
  const QString& search() const { return search_; }
  int currentTab() const;
  const BrowseTab& tab() const;

  // Reads the page again from its first row, the highlighted record highlighted (or, when it is
  // gone, the one that took its row); or around `pos`, with it highlighted.
  void reload();
  void reloadOn(files::Position pos);
  // Reads the highlighted record into the buffer by its position; false when the list is empty.
  bool readSelected();
  files::Position selectedPosition() const;
  bool isEmpty() const { return page_.empty(); }
  int rowCount() const { return int(page_.size()); }
  // The locator of the current tab.
  QString locator() const;

 private:
  struct Row {
    files::Position pos = 0;
    std::vector<QVariant> keyValues;
    QString offer;
  };
  rt::ListBox& list() const;
  int pageSize() const;
  void applyFilter();
  void fill(const files::View::Anchor& from, files::Position select);
  // The record in the buffer as a row of the page.
  void capture(std::vector<Row>* rows, std::vector<QStringList>* texts);
  void show(int selectRow);
  int selectedRow() const;  // -1: none
  Row current() const;
  int rowOf(files::Position pos) const;  // -1: not on the page
  void scroll(rt::EventKind kind, int step);
  void locate(const QString& typed, bool backspace);
  void updateThumb();
  std::optional<std::vector<QVariant>> thumbValues(int step);
  void popupMenu();
  void press(int button);

  rt::Window& window_;
  int list_;
  int sheet_;
  files::File& file_;
  std::vector<BrowseTab> tabs_;
  BrowseButtons buttons_;
  expr::Bindings names_;
  std::vector<std::function<QVariant()>> columns_;
  std::function<void()> prepare_;
  std::function<QString()> offer_;
  std::vector<BrowsePopupItem> popup_;
  int locatorEntry_ = 0;
  QString search_;
  std::map<int, QString> locators_;  // by tab
  std::unique_ptr<files::View> view_;
  std::optional<expr::Expression> filter_;
  std::vector<Row> page_;
  std::vector<QStringList> texts_;
  int tabShown_ = -1;
};

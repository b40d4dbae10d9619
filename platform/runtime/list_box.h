// A list control that shows one page of rows at a time, in columns laid out by a list-format string.
//
// The procedure that owns the list reads its rows page by page from wherever they live and hands
// them over as texts; the list never holds more than the rows on screen. Moving beyond the page is
// the procedure's business: arrow keys at the first or last row, page keys, Home and End, the mouse
// wheel and the scroll thumb (100 steps) arrive at the window as scroll events (see event.h), and a
// click on a row as NewSelection. Column widths the user drags are kept in the format the list
// reports back.
//
// Widths in a format string are list units; one unit is two pixels.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <vector>

#include "platform/runtime/list_format.h"

class QScrollBar;
class QWidget;

namespace rt {

class Window;

class ListBox {
 public:
  ListBox(Window& window, int control, QWidget* parent);
  ListBox(const ListBox&) = delete;
  ListBox& operator=(const ListBox&) = delete;
  ~ListBox();

  QWidget* widget() const;
  QTableView* view() const { return view_.data(); }

  // The columns; false (and nothing changed) for a format that does not parse.
  bool setFormat(const QString& format);
  QString format() const;
  const std::vector<ListColumn>& columns() const { return columns_; }
  int columnCount() const;  // leaf columns

  // The page: one text per leaf column for each row.
  void setRows(std::vector<QStringList> rows);
  int rowCount() const;
  QStringList row(int index) const;
  // How many rows fit in the list as it now stands.
  int visibleRows() const;

  int selected() const;  // -1: none
  void select(int row);

  void setThumb(int step);
  int thumb() const;

  // Rows may be dragged to windows that accept `kind`; `data` gives what a row offers.
  void setDragSource(const QString& kind, std::function<QString(int row)> data);

 private:
  class Model;
  class Filter;
  class Header;
  void applyWidths();
  void remember(int section, int pixels);

  Window& window_;
  int control_;
  QWidget* frame_ = nullptr;
  QPointer<QTableView> view_;  // goes with the window's widgets, possibly before this object
  QScrollBar* thumb_ = nullptr;
  Model* model_ = nullptr;
  Header* header_ = nullptr;
  Filter* filter_ = nullptr;
  std::vector<ListColumn> columns_;
  QString dragKind_;
  std::function<QString(int)> dragData_;
  bool settingWidths_ = false;
};

}  // namespace rt

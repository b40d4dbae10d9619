// The application frame: the multiple-document main window with its menu bar, toolbar and status
// bar, inside which document windows open.
//
// The frame is a Window like any other: menu commands and toolbar buttons arrive at its procedure as
// Accepted events carrying the command number. A menu item's tip shows in the status bar while the
// pointer is on it. There is one frame in the program; instance() finds it.
//
// Closing the frame closes the program's other windows first: every other thread's window receives a
// CloseDown event, and the frame's CloseWindow (or CloseDown) reaches its procedure only once no other
// thread has a window open.
#pragma once

#include <QStringList>
#include <vector>

#include "platform/runtime/window.h"

class QAction;
class QMainWindow;
class QMdiArea;
class QLabel;

namespace rt {

struct MenuItem {
  int command = 0;
  QStringList path;  // menu titles from the menu bar down to the item's own text
  QString tip;
  bool heading = false;  // names a sub-menu (its number) rather than a command
};

struct ToolItem {
  int command = 0;
  QString text;
  QString icon;  // picture name (see pictures.h)
  QString tip;
  bool picture = false;  // a picture shown on the toolbar, not a button
};

class Frame : public Window {
 public:
  Frame(WindowDecl decl, std::vector<MenuItem> menu, std::vector<ToolItem> tools);
  ~Frame() override;

  static Frame* instance();

  QMainWindow* mainWindow() const;
  QMdiArea* area() const { return area_; }
  QAction* action(int command) const;
  // The picture shown by the toolbar item `command`.
  void setToolPicture(int command, const QString& name);
  QString toolPicture(int command) const;

  void tile();
  void cascade();
  void arrangeIcons();

 protected:
  void build() override;
  void setBlocked(bool blocked) override;
  void beforeClose() override;

 private:
  std::vector<MenuItem> menu_;
  std::vector<ToolItem> tools_;
  QMdiArea* area_ = nullptr;
  std::vector<std::pair<int, QAction*>> actions_;
  std::vector<std::pair<int, QLabel*>> pictures_;
  std::vector<std::pair<int, QString>> pictureNames_;
};

}  // namespace rt

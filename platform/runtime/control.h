// Controls of a window: declared by the procedure, created by the window, addressed by number.
//
// A control's number is what events carry in Event::control. Geometry is in pixels of the window's
// client area; controls on a tab sit on the client area too and are shown only while their tab is
// the current one (parent = the tab's number; a tab's parent is its sheet).
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace files {
class Field;
}

namespace rt {

class ListBox;
class Window;

enum class ControlKind {
  Prompt,  // a label
  String,  // display text, optionally a formatted variable
  Button,
  Entry,   // one-line entry with a picture, bound to a variable
  Text,    // multi-line text, bound to a variable
  Check,   // check box, bound to a flag
  Image,   // a picture by name (see picture.h)
  Region,  // an invisible area that reports clicks as Accepted
  Group,
  Box,
  Sheet,
  Tab,
  Progress,
  List,      // a paged list of rows (see list_box.h)
  DropList,  // a choice among items, bound to the chosen item's text; a value no item has (in any
             // letter case) is shown as an extra item, and a choice that differs from the variable
             // only in letter case leaves the variable as it is
  Combo,     // an entry with a list of items to choose from, bound to its text
  Option,    // a box of radios, bound to the chosen radio's text (blank: none chosen)
  Radio,     // one choice of an option (parent = the option's number)
};

enum ControlFlags : unsigned {
  kDefault = 1u << 0,  // the default button
  kHidden = 1u << 1,
  kDisabled = 1u << 2,
  kReadOnly = 1u << 3,
  kRight = 1u << 4,  // right-aligned text
  kCentered = 1u << 5,
  kFlatButton = 1u << 6,
  kStretch = 1u << 7,  // image scaled to the control
};

// The MIME type under which drags offer things of a kind ("Songs" -> "application/x-kvx98-songs").
QString dragMimeType(const QString& kind);

struct ControlDecl {
  ControlKind kind = ControlKind::Prompt;
  int number = 0;
  QString text;  // caption, prompt, or the picture name of an image
  QRect rect;
  QString tip;
  QString picture;  // display picture of entries and strings ("@s20", "@t4", ...)
  int parent = 0;   // the tab (or group) the control sits on
  unsigned flags = 0;
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int number() const { return decl_.number; }
  ControlKind kind() const { return decl_.kind; }
  const ControlDecl& decl() const { return decl_; }
  QWidget* widget() const { return widget_; }
  Window& window() const { return window_; }

  QString text() const;
  void setText(const QString& text);
  void setTip(const QString& tip);
  void setPicture(const QString& picture);  // display picture of entries and strings
  void setImage(const QString& name);       // the picture an Image shows
  void setEnabled(bool enabled);
  bool isEnabled() const;
  void setHidden(bool hidden);
  bool isHidden() const { return hidden_; }
  void setFocus();
  void setProgress(int value, int maximum = 100);

  // Binds the control to a variable: entries and strings show it through their picture, check boxes
  // as set when it is not blank. When the user completes an entry the text is read back through the
  // picture; text the picture cannot take is refused: the window gets a Rejected event and the
  // variable keeps its value.
  void use(files::Field& variable);
  files::Field* variable() const { return variable_; }
  // Shows the variable's current value.
  void display();
  // Reads the control's text into its variable; false (variable unchanged) if the picture refuses it.
  bool update();

  // Lets the user drop things offered under `kind` (such as "Songs") on the control; each drop arrives
  // as a Drop event carrying the offered text.
  void acceptDrops(const QString& kind);
  const QString& dropKind() const { return dropKind_; }

  // The items of a drop list or combo box.
  void setItems(const QStringList& items);
  QStringList items() const;

  // The list of a List control; null for other kinds.
  ListBox* list() const { return list_.get(); }

  // For sheets: the number of the tab shown, and choosing one.
  int currentTab() const;
  void selectTab(int tabNumber);

 private:
  friend class Window;
  Control(Window& w, const ControlDecl& d, QWidget* widget);

  Window& window_;
  ControlDecl decl_;
  QWidget* widget_;
  files::Field* variable_ = nullptr;
  bool hidden_ = false;
  QString dropKind_;
  std::unique_ptr<ListBox> list_;

 public:
  ~Control();
};

}  // namespace rt

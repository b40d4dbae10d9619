#include "platform/runtime/control.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>

#include "platform/files/field.h"
#include "platform/picture/picture.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/pictures.h"
#include "platform/runtime/window.h"

namespace rt {
namespace {

QTabWidget* sheetOf(const Control& tab) {
  const Control* sheet = tab.window().control(tab.decl().parent);
  return sheet ? qobject_cast<QTabWidget*>(sheet->widget()) : nullptr;
}

// A drop list shows the item that is the value (in any letter case); a value no item has is shown
// as an extra first item, which goes again at the next display.
constexpr int kExtraItemRole = Qt::UserRole + 1;

void showInDropList(QComboBox& box, const QString& value) {
  const QSignalBlocker quiet(&box);
  if (box.count() > 0 && box.itemData(0, kExtraItemRole).toBool()) box.removeItem(0);
  int at = box.findText(value, Qt::MatchFixedString);
  if (at < 0 && !value.isEmpty()) {
    box.insertItem(0, value);
    box.setItemData(0, true, kExtraItemRole);
    at = 0;
  }
  box.setCurrentIndex(at);
}

// The picture a bound control uses: its own, or one that shows the whole variable.
QString pictureOf(const files::Field& f, const QString& picture) {
  if (!picture.isEmpty()) return picture;
  return f.isText() ? QString("@s%1").arg(f.width()) : QString("@n-20");
}

}  // namespace

Control::Control(Window& w, const ControlDecl& d, QWidget* widget) : window_(w), decl_(d), widget_(widget) {}

Control::~Control() = default;

QString Control::text() const {
  if (auto* box = qobject_cast<QComboBox*>(widget_)) return box->currentText();
  if (auto* e = qobject_cast<QLineEdit*>(widget_)) return e->text();
  if (auto* t = qobject_cast<QPlainTextEdit*>(widget_)) return t->toPlainText();
  if (auto* b = qobject_cast<QAbstractButton*>(widget_)) return b->text();
  if (auto* g = qobject_cast<QGroupBox*>(widget_)) return g->title();
  if (auto* l = qobject_cast<QLabel*>(widget_)) return l->text();
  if (decl_.kind == ControlKind::Tab)
    if (QTabWidget* tabs = sheetOf(*this)) return tabs->tabText(tabs->indexOf(widget_));
  return decl_.text;
}

void Control::setText(const QString& text) {
  if (auto* box = qobject_cast<QComboBox*>(widget_)) {
    if (box->isEditable())
      box->setEditText(text);
    else
      box->setCurrentIndex(box->findText(text, Qt::MatchFixedString));
  } else if (auto* e = qobject_cast<QLineEdit*>(widget_)) {
    e->setText(text);
  } else if (auto* t = qobject_cast<QPlainTextEdit*>(widget_)) {
    t->setPlainText(text);
  } else if (auto* b = qobject_cast<QAbstractButton*>(widget_)) {
    b->setText(text);
  } else if (auto* g = qobject_cast<QGroupBox*>(widget_)) {
    g->setTitle(text);
  } else if (decl_.kind == ControlKind::Tab) {
    if (QTabWidget* tabs = sheetOf(*this)) tabs->setTabText(tabs->indexOf(widget_), text);
  } else if (decl_.kind == ControlKind::Image) {
    setImage(text);
    return;
  } else if (auto* l = qobject_cast<QLabel*>(widget_)) {
    l->setText(text);
  }
  decl_.text = text;
}

void Control::setTip(const QString& tip) {
  decl_.tip = tip;
  if (decl_.kind == ControlKind::Tab) {
    if (QTabWidget* tabs = sheetOf(*this)) tabs->setTabToolTip(tabs->indexOf(widget_), tip);
    return;
  }
  widget_->setToolTip(tip);
  widget_->setStatusTip(tip);
}

void Control::setPicture(const QString& picture) {
  decl_.picture = picture;
  if (variable_) display();
}

void Control::setImage(const QString& name) {
  decl_.text = name;
  auto* l = qobject_cast<QLabel*>(widget_);
  if (!l) return;
  const QPixmap p = rt::picture(name);
  if (p.isNull() || (decl_.flags & kStretch) || decl_.rect.isEmpty())
    l->setPixmap(p);
  else
    l->setPixmap(p.scaled(decl_.rect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Control::setEnabled(bool enabled) {
  if (decl_.kind == ControlKind::Tab) {
    if (QTabWidget* tabs = sheetOf(*this)) tabs->setTabEnabled(tabs->indexOf(widget_), enabled);
    return;
  }
  widget_->setEnabled(enabled);
}

bool Control::isEnabled() const {
  if (decl_.kind == ControlKind::Tab) {
    QTabWidget* tabs = sheetOf(*this);
    return tabs && tabs->isTabEnabled(tabs->indexOf(widget_));
  }
  return widget_->isEnabled();
}

void Control::setHidden(bool hidden) {
  hidden_ = hidden;
  if (decl_.kind == ControlKind::Tab) {
    if (QTabWidget* tabs = sheetOf(*this)) tabs->setTabVisible(tabs->indexOf(widget_), !hidden);
  }
  window_.updateVisibility();
}

void Control::setFocus() {
  widget_->setFocus(Qt::OtherFocusReason);
}

void Control::setProgress(int value, int maximum) {
  if (auto* p = qobject_cast<QProgressBar*>(widget_)) {
    p->setMaximum(maximum);
    p->setValue(value);
  }
}

void Control::use(files::Field& variable) {
  variable_ = &variable;
  // A text entry takes no more characters than its variable holds.
  if (auto* e = qobject_cast<QLineEdit*>(widget_); e && variable.isText() && variable.width() > 0)
    e->setMaxLength(variable.width());
  display();
}

void Control::display() {
  if (!variable_) return;
  const QVariant v = variable_->value();
  if (auto* c = qobject_cast<QCheckBox*>(widget_)) {
    c->setChecked(!variable_->isBlank());
    return;
  }
  if (decl_.kind == ControlKind::Option) {
    // The radio whose text is the value is chosen; a value no radio has chooses none.
    for (const auto& other : window_.controls())
      if (other->kind() == ControlKind::Radio && other->decl().parent == decl_.number)
        static_cast<QAbstractButton*>(other->widget())
            ->setChecked(!variable_->isBlank() && other->text().remove('&') == v.toString());
    return;
  }
  const QString shown = pic::format(v, pictureOf(*variable_, decl_.picture));
  if (auto* box = qobject_cast<QComboBox*>(widget_)) {
    if (box->isEditable()) {
      box->setEditText(shown);
      box->lineEdit()->setModified(false);
    } else {
      showInDropList(*box, shown);
    }
    return;
  }
  if (auto* e = qobject_cast<QLineEdit*>(widget_)) {
    e->setText(shown);
    e->setModified(false);
  } else if (auto* t = qobject_cast<QPlainTextEdit*>(widget_)) {
    if (t->toPlainText() != shown) t->setPlainText(shown);
  } else if (auto* l = qobject_cast<QLabel*>(widget_)) {
    l->setText(shown);
  }
}

bool Control::update() {
  if (!variable_) return true;
  if (auto* c = qobject_cast<QCheckBox*>(widget_)) {
    variable_->setValue(qlonglong(c->isChecked() ? 1 : 0));
    return true;
  }
  if (auto* t = qobject_cast<QPlainTextEdit*>(widget_)) {
    variable_->setValue(t->toPlainText());
    return true;
  }
  if (decl_.kind == ControlKind::Option) return true;  // its radios set it as they are chosen
  if (auto* box = qobject_cast<QComboBox*>(widget_)) {
    const QString chosen = box->isEditable() || box->currentIndex() >= 0 ? box->currentText() : QString();
    if (box->isEditable() || chosen.compare(variable_->value().toString(), Qt::CaseInsensitive) != 0)
      variable_->setValue(chosen);
    return true;
  }
  auto* e = qobject_cast<QLineEdit*>(widget_);
  if (!e) return true;
  const std::optional<QVariant> v = pic::deformat(e->text(), pictureOf(*variable_, decl_.picture));
  if (!v) return false;
  variable_->setValue(*v);
  display();
  return true;
}

QString dragMimeType(const QString& kind) {
  return "application/x-kvx98-" + kind.toLower();
}

void Control::acceptDrops(const QString& kind) {
  dropKind_ = kind;
  widget_->setAcceptDrops(!kind.isEmpty());
}

void Control::setItems(const QStringList& items) {
  auto* box = qobject_cast<QComboBox*>(widget_);
  if (!box) return;
  const QSignalBlocker quiet(box);
  const QString text = box->currentText();
  box->clear();
  box->addItems(items);
  if (variable_)
    display();
  else if (box->isEditable())
    box->setEditText(text);
}

QStringList Control::items() const {
  QStringList out;
  if (auto* box = qobject_cast<QComboBox*>(widget_))
    for (int i = 0; i < box->count(); ++i)
      if (!box->itemData(i, kExtraItemRole).toBool()) out << box->itemText(i);
  return out;
}

int Control::currentTab() const {
  auto* tabs = qobject_cast<QTabWidget*>(widget_);
  if (!tabs) return 0;
  QWidget* page = tabs->currentWidget();
  for (const auto& c : window_.controls())
    if (c->kind() == ControlKind::Tab && c->widget() == page) return c->number();
  return 0;
}

void Control::selectTab(int tabNumber) {
  auto* tabs = qobject_cast<QTabWidget*>(widget_);
  const Control* tab = window_.control(tabNumber);
  if (tabs && tab) tabs->setCurrentWidget(tab->widget());
}

}  // namespace rt

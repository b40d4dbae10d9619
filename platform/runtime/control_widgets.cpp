#include "platform/runtime/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

#include "platform/runtime/control.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/window.h"

namespace rt::detail {
namespace {

QLabel* label(const ControlDecl& d, QWidget* parent) {
  auto* l = new QLabel(d.text, parent);
  // Prompts show their "&" letter underlined; display texts show what they hold.
  l->setTextFormat(d.kind == ControlKind::Prompt ? Qt::AutoText : Qt::PlainText);
  if (d.flags & kRight) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (d.flags & kCentered) l->setAlignment(Qt::AlignCenter);
  return l;
}

}  // namespace

QWidget* makeWidget(Window& window, const ControlDecl& d, QWidget* parent, std::unique_ptr<ListBox>* list) {
  switch (d.kind) {
    case ControlKind::Prompt:
    case ControlKind::String:
      return label(d, parent);
    case ControlKind::Button: {
      auto* b = new QPushButton(d.text, parent);
      b->setDefault(d.flags & kDefault);
      b->setAutoDefault(false);
      b->setFlat(d.flags & kFlatButton);
      return b;
    }
    case ControlKind::Entry: {
      auto* e = new QLineEdit(parent);
      e->setReadOnly(d.flags & kReadOnly);
      if (d.flags & kRight) e->setAlignment(Qt::AlignRight);
      return e;
    }
    case ControlKind::Text: {
      auto* t = new QPlainTextEdit(parent);
      t->setReadOnly(d.flags & kReadOnly);
      return t;
    }
    case ControlKind::Check:
      return new QCheckBox(d.text, parent);
    case ControlKind::Image: {
      auto* l = new QLabel(parent);
      l->setScaledContents(d.flags & kStretch);
      l->setAlignment(Qt::AlignCenter);
      return l;
    }
    case ControlKind::Region:
      return new QWidget(parent);
    case ControlKind::Group:
    case ControlKind::Option:
      return new QGroupBox(d.text, parent);
    case ControlKind::Radio: {
      // A radio sits on its option box's area like any control; the option keeps them exclusive.
      auto* r = new QRadioButton(d.text, parent);
      r->setAutoExclusive(false);
      return r;
    }
    case ControlKind::Box: {
      auto* f = new QFrame(parent);
      f->setFrameShape(QFrame::Box);
      return f;
    }
    case ControlKind::Sheet:
      return new QTabWidget(parent);
    case ControlKind::Tab: {
      const Control* sheet = window.control(d.parent);
      auto* tabs = sheet ? qobject_cast<QTabWidget*>(sheet->widget()) : nullptr;
      auto* page = new QWidget;
      if (tabs) tabs->addTab(page, d.text);
      return page;
    }
    case ControlKind::Progress:
      return new QProgressBar(parent);
    case ControlKind::List:
      *list = std::make_unique<ListBox>(window, d.number, parent);
      return (*list)->widget();
    case ControlKind::DropList:
    case ControlKind::Combo: {
      auto* c = new QComboBox(parent);
      c->setEditable(d.kind == ControlKind::Combo);
      if (c->isEditable()) c->setInsertPolicy(QComboBox::NoInsert);
      return c;
    }
  }
  return new QWidget(parent);
}

void connectWidget(Window& w, Control& c) {
  Control* cp = &c;
  switch (c.kind()) {
    case ControlKind::Button:
      QObject::connect(static_cast<QPushButton*>(c.widget()), &QPushButton::clicked,
                       [&w, n = c.number()] { w.post(EventKind::Accepted, n); });
      break;
    case ControlKind::Entry:
      QObject::connect(static_cast<QLineEdit*>(c.widget()), &QLineEdit::editingFinished, [&w, cp] {
        auto* e = static_cast<QLineEdit*>(cp->widget());
        if (!e->isModified()) return;
        e->setModified(false);
        w.postChange(*cp, EventKind::Accepted, cp->number());
      });
      break;
    case ControlKind::Check:
      QObject::connect(static_cast<QCheckBox*>(c.widget()), &QCheckBox::clicked,
                       [&w, cp] { w.postChange(*cp, EventKind::Accepted, cp->number()); });
      break;
    case ControlKind::Radio:
      // The option box holds the choice: the other radios of the same option go off.
      QObject::connect(static_cast<QRadioButton*>(c.widget()), &QRadioButton::clicked,
                       [&w, cp] { w.postChange(*cp, EventKind::Accepted, cp->decl().parent); });
      break;
    case ControlKind::DropList:
      QObject::connect(static_cast<QComboBox*>(c.widget()), &QComboBox::activated,
                       [&w, cp](int) { w.postChange(*cp, EventKind::Accepted, cp->number()); });
      break;
    case ControlKind::Combo: {
      auto* box = static_cast<QComboBox*>(c.widget());
      QObject::connect(box, &QComboBox::activated,
                       [&w, cp](int) { w.postChange(*cp, EventKind::Accepted, cp->number()); });
      QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, [&w, cp] {
        auto* line = static_cast<QComboBox*>(cp->widget())->lineEdit();
        if (!line->isModified()) return;
        line->setModified(false);
        w.postChange(*cp, EventKind::Accepted, cp->number());
      });
      break;
    }
    case ControlKind::Sheet:
      QObject::connect(static_cast<QTabWidget*>(c.widget()), &QTabWidget::currentChanged,
                       [&w, n = c.number()] {
                         w.updateVisibility();
                         w.post(EventKind::NewSelection, n);
                       });
      break;
    default:
      break;
  }
}

std::vector<QObject*> keyTargets(const Control& c) {
  std::vector<QObject*> out{c.widget()};
  if (c.list() && c.list()->view()) {
    out.push_back(c.list()->view());
    out.push_back(c.list()->view()->viewport());
  }
  if (c.kind() == ControlKind::Combo)
    if (auto* box = qobject_cast<QComboBox*>(c.widget()); box && box->lineEdit())
      out.push_back(box->lineEdit());
  return out;
}

}  // namespace rt::detail

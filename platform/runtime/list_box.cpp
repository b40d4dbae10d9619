#include "platform/runtime/list_box.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDrag>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

#include "platform/runtime/control.h"
#include "platform/runtime/window.h"

namespace rt {
namespace {

constexpr int kPixelsPerUnit = 2;

Qt::Alignment alignmentOf(QChar j) {
  switch (j.unicode()) {
    case 'R':
    case 'D':
      return Qt::AlignRight | Qt::AlignVCenter;
    case 'C':
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace

// A header whose groups' headings stand over all the group's columns, not over the first alone.
class ListBox::Header : public QHeaderView {
 public:
  explicit Header(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}
  // For each section, the first section of the group it belongs to (itself when in no group).
  std::vector<int> groupStart;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int section) const override {
    const int first = section < int(groupStart.size()) ? groupStart[section] : section;
    int last = first;
    while (last + 1 < int(groupStart.size()) && groupStart[last + 1] == first)
      ++last;
    if (first == last) {
      QHeaderView::paintSection(painter, rect, section);
      return;
    }
    // Each section of the group paints its own part of one heading laid over the whole group.
    int width = 0;
    for (int i = first; i <= last; ++i)
      width += sectionSize(i);
    const QRect whole(sectionViewportPosition(first), rect.top(), width, rect.height());
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    QHeaderView::paintSection(painter, whole, first);
    painter->restore();
  }
};

class ListBox::Model : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : int(rows.size());
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : int(headers.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= int(rows.size())) return {};
    if (role == Qt::DisplayRole) return rows[index.row()].value(index.column());
    if (role == Qt::TextAlignmentRole) return int(alignments[index.column()]);
    return {};
  }
  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    if (o != Qt::Horizontal || section >= int(headers.size())) return {};
    if (role == Qt::DisplayRole) return headers[section];
    if (role == Qt::TextAlignmentRole) return int(headerAlignments[section]);
    return {};
  }
  void setColumns(const std::vector<ListColumn>& columns) {
    beginResetModel();
    headers.clear();
    alignments.clear();
    headerAlignments.clear();
    // A group's header stands over its first column.
    const auto addLeaf = [&](const ListColumn& leaf, const ListColumn* group, bool first) {
      const ListColumn& titled = group && first ? *group : leaf;
      headers.push_back(group && !first ? QString() : titled.header);
      alignments.push_back(alignmentOf(leaf.justification));
      headerAlignments.push_back(
          alignmentOf(titled.headerJustification.isNull() ? leaf.justification : titled.headerJustification));
    };
    for (const ListColumn& c : columns) {
      if (!c.group) {
        addLeaf(c, nullptr, true);
        continue;
      }
      for (size_t i = 0; i < c.columns.size(); ++i)
        addLeaf(c.columns[i], &c, i == 0);
    }
    endResetModel();
  }
  void setRows(std::vector<QStringList> r) {
    beginResetModel();
    rows = std::move(r);
    endResetModel();
  }

  std::vector<QStringList> rows;
  std::vector<QString> headers;
  std::vector<Qt::Alignment> alignments, headerAlignments;
};

// Turns the keys, wheel turns and mouse actions that move beyond the page into the window's events.
class ListBox::Filter : public QObject {
 public:
  explicit Filter(ListBox& list) : list_(list) {}

  bool eventFilter(QObject* obj, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress:
        return key(static_cast<QKeyEvent*>(e));
      case QEvent::Wheel: {
        const int notches = static_cast<QWheelEvent*>(e)->angleDelta().y() / 120;
        for (int i = 0; i < qAbs(notches) * 3; ++i)
          post(notches > 0 ? EventKind::ScrollUp : EventKind::ScrollDown);
        return true;
      }
      case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        pressAt_ = m->position().toPoint();
        pressRow_ = list_.view_->indexAt(pressAt_).row();
        if (m->button() == Qt::RightButton) {
          // The row under the mouse becomes the highlighted one as by a left click (its NewSelection
          // comes first), so the popup's choice acts on the row the user sees highlighted.
          if (pressRow_ >= 0)
            list_.view_->selectionModel()->setCurrentIndex(
                list_.model_->index(pressRow_, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
          list_.window_.post(Event{EventKind::AlertKey, list_.control_, kMouseRight, QString()});
          return true;
        }
        break;
      }
      case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        if ((m->buttons() & Qt::LeftButton) && pressRow_ >= 0 && !list_.dragKind_.isEmpty() &&
            (m->position().toPoint() - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
          startDrag();
          return true;
        }
        break;
      }
      case QEvent::MouseButtonDblClick:
        if (list_.view_->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint()).isValid())
          list_.window_.post(Event{EventKind::AlertKey, list_.control_, kMouseLeft2, QString()});
        return true;
      default:
        break;
    }
    return QObject::eventFilter(obj, e);
  }

 private:
  void post(EventKind k) { list_.window_.post(Event{k, list_.control_, 0, QString()}); }

  bool key(QKeyEvent* k) {
    const int row = list_.selected(), last = list_.rowCount() - 1;
    switch (k->key()) {
      case Qt::Key_Up:
        if (row <= 0) {
          post(EventKind::ScrollUp);
          return true;
        }
        return false;
      case Qt::Key_Down:
        if (row >= last) {
          post(EventKind::ScrollDown);
          return true;
        }
        return false;
      case Qt::Key_PageUp:
        post(EventKind::PageUp);
        return true;
      case Qt::Key_PageDown:
        post(EventKind::PageDown);
        return true;
      case Qt::Key_Home:
        post(EventKind::ScrollTop);
        return true;
      case Qt::Key_End:
        post(EventKind::ScrollBottom);
        return true;
      default:
        return false;
    }
  }

  // QDrag runs its own loop until the drop; it runs on the event loop's stack, where no program
  // thread is waiting, so the threads go on being resumed from it as usual.
  void startDrag() {
    const int row = pressRow_;
    pressRow_ = -1;
    auto* mime = new QMimeData;
    mime->setData(dragMimeType(list_.dragKind_), list_.dragData_(row).toUtf8());
    auto* drag = new QDrag(list_.view_);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
  }

  ListBox& list_;
  QPoint pressAt_;
  int pressRow_ = -1;
};

ListBox::ListBox(Window& window, int control, QWidget* parent) : window_(window), control_(control) {
  frame_ = new QWidget(parent);
  auto* layout = new QHBoxLayout(frame_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  view_ = new QTableView(frame_);
  model_ = new Model;
  header_ = new Header(view_);
  view_->setHorizontalHeader(header_);
  view_->setModel(model_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);  // a page is as high as it was
  view_->setShowGrid(false);
  view_->setWordWrap(false);
  view_->setAlternatingRowColors(true);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->horizontalHeader()->setHighlightSections(false);
  view_->horizontalHeader()->setStretchLastSection(false);
  thumb_ = new QScrollBar(Qt::Vertical, frame_);
  thumb_->setRange(0, 100);
  thumb_->setPageStep(10);
  layout->addWidget(view_);
  layout->addWidget(thumb_);

  filter_ = new Filter(*this);
  view_->installEventFilter(filter_);
  view_->viewport()->installEventFilter(filter_);
  QObject::connect(view_->horizontalHeader(), &QHeaderView::sectionResized,
                   [this](int section, int, int size) { remember(section, size); });
  QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged,
                   [this](const QModelIndex& now, const QModelIndex&) {
                     if (now.isValid()) window_.post(Event{EventKind::NewSelection, control_, 0, QString()});
                   });
  QObject::connect(thumb_, &QScrollBar::actionTriggered, [this](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd:
        window_.post(EventKind::ScrollDown, control_);
        break;
      case QAbstractSlider::SliderSingleStepSub:
        window_.post(EventKind::ScrollUp, control_);
        break;
      case QAbstractSlider::SliderPageStepAdd:
        window_.post(EventKind::PageDown, control_);
        break;
      case QAbstractSlider::SliderPageStepSub:
        window_.post(EventKind::PageUp, control_);
        break;
      case QAbstractSlider::SliderToMinimum:
        window_.post(EventKind::ScrollTop, control_);
        break;
      case QAbstractSlider::SliderToMaximum:
        window_.post(EventKind::ScrollBottom, control_);
        break;
      default:
        break;
    }
  });
  QObject::connect(thumb_, &QScrollBar::sliderMoved, [this](int value) {
    window_.post(Event{EventKind::ScrollDrag, control_, value, QString()});
  });
}

ListBox::~ListBox() {
  delete filter_;
  // The model belongs to no widget; the widgets go with their window.
  if (view_) view_->setModel(nullptr);
  delete model_;
}

QWidget* ListBox::widget() const {
  return frame_;
}

bool ListBox::setFormat(const QString& format) {
  std::optional<std::vector<ListColumn>> parsed = parseListFormat(format);
  if (!parsed) return false;
  columns_ = std::move(*parsed);
  model_->setColumns(columns_);
  header_->groupStart.clear();
  for (const ListColumn& c : columns_) {
    const int first = int(header_->groupStart.size());
    for (size_t i = 0; i < (c.group ? c.columns.size() : 1); ++i)
      header_->groupStart.push_back(first);
  }
  applyWidths();
  return true;
}

QString ListBox::format() const {
  return writeListFormat(columns_);
}

int ListBox::columnCount() const {
  return int(leafColumns(columns_).size());
}

void ListBox::applyWidths() {
  settingWidths_ = true;
  QHeaderView* header = view_->horizontalHeader();
  const auto leaves = leafColumns(columns_);
  for (int i = 0; i < int(leaves.size()); ++i) {
    header->setSectionResizeMode(i, leaves[i]->resizable() || leaves[i]->flags.isEmpty()
                                        ? QHeaderView::Interactive
                                        : QHeaderView::Fixed);
    header->resizeSection(i, leaves[i]->width * kPixelsPerUnit);
  }
  settingWidths_ = false;
}

void ListBox::remember(int section, int pixels) {
  if (settingWidths_) return;
  auto leaves = leafColumns(columns_);
  if (section < 0 || section >= int(leaves.size())) return;
  leaves[section]->width = qMax(1, (pixels + kPixelsPerUnit / 2) / kPixelsPerUnit);
}

void ListBox::setRows(std::vector<QStringList> rows) {
  const int keep = selected();
  model_->setRows(std::move(rows));
  if (keep >= 0) select(qMin(keep, rowCount() - 1));
}

int ListBox::rowCount() const {
  return model_->rowCount();
}
QStringList ListBox::row(int index) const {
  return index >= 0 && index < int(model_->rows.size()) ? model_->rows[index] : QStringList();
}

int ListBox::visibleRows() const {
  // Worked out from the list's own size, which is known at once, rather than from the viewport's,
  // which the layout sets only later.
  const int rowHeight = qMax(1, view_->verticalHeader()->defaultSectionSize());
  const int chrome = view_->horizontalHeader()->sizeHint().height() +
                     view_->horizontalScrollBar()->sizeHint().height() + 2 * view_->frameWidth();
  return qMax(1, (frame_->height() - chrome) / rowHeight);
}

int ListBox::selected() const {
  const QModelIndex i = view_->selectionModel()->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void ListBox::select(int row) {
  QItemSelectionModel* s = view_->selectionModel();
  const QSignalBlocker quiet(s);  // a selection the program makes is not the user's new selection
  if (row < 0 || row >= rowCount()) {
    s->clear();
    view_->viewport()->update();
    return;
  }
  s->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view_->viewport()->update();
}

void ListBox::setThumb(int step) {
  const QSignalBlocker quiet(thumb_);
  thumb_->setValue(qBound(0, step, 100));
}

int ListBox::thumb() const {
  return thumb_->value();
}

void ListBox::setDragSource(const QString& kind, std::function<QString(int)> data) {
  dragKind_ = kind;
  dragData_ = std::move(data);
}

}  // namespace rt

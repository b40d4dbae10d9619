#include "storage/browse.h"

#include <QApplication>
#include <cmath>

#include "platform/picture/picture.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/popup.h"
#include "storage/messages.h"

namespace {

using Anchor = files::View::Anchor;

// How many characters of a text key the thumb tells apart.
constexpr int kThumbCharacters = 3;
constexpr double kThumbBase = 0x110000;

// A text key value as a number that grows with the key order, over the characters after `prefix`.
double textPosition(const QString& value, int prefix) {
  const QList<uint> chars = value.toCaseFolded().toUcs4();
  double v = 0;
  for (int i = 0; i < kThumbCharacters; ++i) {
    const int at = prefix + i;
    v = v * kThumbBase + (at < chars.size() ? chars[at] : 0);
  }
  return v;
}

QString textAt(double v, const QString& prefixText) {
  std::vector<char32_t> chars(kThumbCharacters);
  for (int i = kThumbCharacters - 1; i >= 0; --i) {
    chars[i] = char32_t(std::fmod(v, kThumbBase));
    v = std::floor(v / kThumbBase);
  }
  QString out = prefixText;
  for (char32_t c : chars)
    if (c) out += QString::fromUcs4(&c, 1);
  return out;
}

int commonPrefix(const QString& a, const QString& b) {
  const QList<uint> x = a.toCaseFolded().toUcs4(), y = b.toCaseFolded().toUcs4();
  int n = 0;
  while (n < x.size() && n < y.size() && x[n] == y[n])
    ++n;
  return n;
}

}  // namespace

Browse::Browse(rt::Window& window, int list, int sheet, files::File& file, std::vector<BrowseTab> tabs,
               BrowseButtons buttons)
    : window_(window),
      list_(list),
      sheet_(sheet),
      file_(file),
      tabs_(std::move(tabs)),
      buttons_(buttons),
      names_(&expr::programBindings()) {
  // The keys a browse answers on its list.
  window_.alert(Qt::Key_Insert, list_);
  window_.alert(Qt::Key_Delete, list_);
  window_.alert(QKeyCombination(Qt::ControlModifier, Qt::Key_Return).toCombined(), list_);
  window_.alert(QKeyCombination(Qt::ControlModifier, Qt::Key_Enter).toCombined(), list_);
  window_.alert(Qt::Key_Backspace, list_);
  window_.alertTyping(list_);
}

Browse::~Browse() = default;

rt::ListBox& Browse::list() const {
  return *window_.control(list_)->list();
}

void Browse::setColumns(std::vector<std::function<QVariant()>> values) {
  columns_ = std::move(values);
}

void Browse::setDragSource(const QString& kind, std::function<QString()> offer) {
  offer_ = std::move(offer);
  list().setDragSource(
      kind, [this](int row) { return row >= 0 && row < int(page_.size()) ? page_[row].offer : QString(); });
}

int Browse::currentTab() const {
  if (!sheet_) return tabs_.empty() ? 0 : tabs_.front().tab;
  const rt::Control* sheet = window_.control(sheet_);
  return sheet ? sheet->currentTab() : 0;
}

const BrowseTab& Browse::tab() const {
  const int shown = currentTab();
  for (const BrowseTab& t : tabs_)
    if (t.tab == shown) return t;
  return tabs_.front();
}

int Browse::pageSize() const {
  return qMax(1, list().visibleRows());
}

QString Browse::locator() const {
  auto it = locators_.find(currentTab());
  return it == locators_.end() ? QString() : it->second;
}

void Browse::start() {
  tabShown_ = currentTab();
  applyFilter();
  fill({Anchor::Start}, 0);
}

void Browse::setSearch(const QString& filter) {
  search_ = filter;
  rangeChanged();
}

void Browse::rangeChanged() {
  applyFilter();
  fill({Anchor::Start}, 0);
}

// A new view for the current tab with its range and the search filter.
void Browse::applyFilter() {
  const BrowseTab& t = tab();
  view_ = std::make_unique<files::View>(file_, *t.key);
  filter_.reset();
  const QString search = search_.trimmed().isEmpty() ? QString() : search_;
  QString condition = t.range;
  if (!search.isEmpty())
    condition = t.range.isEmpty() ? search : "(" + t.range + ") AND (" + search.trimmed() + ")";
  if (condition.isEmpty()) return;
  QString error;
  filter_ = expr::parse(condition, names_, &error);
  if (!filter_) {
    files::Status s = files::Status::error(files::kInvalidFilter);
    StandardMessage(msg::kViewOpenError, {.error = s});
    return;
  }
  if (t.rangeVariable) view_->setRange({t.rangeVariable->value()});
  const files::Record& own = file_.record();
  const std::optional<expr::SqlFilter> sql =
      filter_->toSql([&own](const files::Field& f) -> std::optional<QString> {
        if (f.owner() != &own) return std::nullopt;
        return "\"" + f.name() + "\"";
      });
  if (sql) {
    view_->setCondition(sql->where, sql->parameters);
  } else {
    view_->setTest([this] {
      if (prepare_) prepare_();
      return filter_->isTrue();
    });
  }
}

// Reads a page forward from `from`, completed backward when the view ends first, and shows it
// with the record at `select` highlighted (the first row when it is not on the page).
void Browse::fill(const Anchor& from, files::Position select) {
  const int size = pageSize();
  std::vector<Row> rows;
  std::vector<QStringList> texts;
  const auto collect = [this](std::vector<Row>* into, std::vector<QStringList>* textsInto) {
    return [this, into, textsInto] { capture(into, textsInto); };
  };
  files::Status st = view_->forward(from, size, collect(&rows, &texts));
  int anchorRow = 0;  // the first record read from the anchor, which a locator or reload lands on
  if (st && int(rows.size()) < size && from.kind != Anchor::Start) {
    std::vector<Row> before;
    std::vector<QStringList> beforeTexts;
    Anchor back =
        rows.empty() ? Anchor{Anchor::End} : Anchor{Anchor::Before, rows.front().keyValues, rows.front().pos};
    st = view_->backward(back, size - int(rows.size()), collect(&before, &beforeTexts));
    std::reverse(before.begin(), before.end());
    std::reverse(beforeTexts.begin(), beforeTexts.end());
    rows.insert(rows.begin(), before.begin(), before.end());
    texts.insert(texts.begin(), beforeTexts.begin(), beforeTexts.end());
    anchorRow = qMin(int(before.size()), int(rows.size()) - 1);
  }
  if (!st) StandardMessage(msg::kRecordRetrievalError, {.file = file_.label(), .error = st});
  page_ = std::move(rows);
  texts_ = std::move(texts);
  const int selectedRow = select ? rowOf(select) : -1;
  show(selectedRow >= 0 ? selectedRow : page_.empty() ? -1 : anchorRow);
}

void Browse::capture(std::vector<Row>* rows, std::vector<QStringList>* texts) {
  if (prepare_) prepare_();
  Row r;
  r.pos = file_.position();
  for (const files::Field* c : view_->key().components())
    r.keyValues.push_back(c->value());
  if (offer_) r.offer = offer_();
  QStringList t;
  const auto leaves = rt::leafColumns(list().columns());
  for (size_t i = 0; i < columns_.size(); ++i)
    t << pic::format(columns_[i](), i < leaves.size() ? leaves[i]->picture : QString());
  rows->push_back(std::move(r));
  texts->push_back(std::move(t));
}

void Browse::show(int selectRow) {
  list().setRows(texts_);
  list().select(selectRow);
  updateThumb();
}

// What the list highlights is what every button, key and popup item acts on; the browse keeps no
// copy of it that a click could leave behind.
int Browse::selectedRow() const {
  const int row = list().selected();
  return row < int(page_.size()) ? row : -1;
}

Browse::Row Browse::current() const {
  const int row = selectedRow();
  return row >= 0 ? page_[row] : Row{};
}

void Browse::reload() {
  if (page_.empty()) {
    fill({Anchor::Start}, 0);
    return;
  }
  // The page keeps its place, so that only what changed moves.
  const Row top = page_.front();
  const Row highlighted = current();
  const int index = qMax(0, selectedRow());
  fill({Anchor::At, top.keyValues, top.pos}, highlighted.pos);
  if (page_.empty() || selectedPosition() == highlighted.pos) return;
  // The highlighted record is gone: the highlight goes to the one that took its row, counting the
  // rows read from before the old top at the end of the file.
  const int shift = qMax(0, rowOf(top.pos));
  show(qMin(index + shift, rowCount() - 1));
}

int Browse::rowOf(files::Position pos) const {
  for (int i = 0; i < int(page_.size()); ++i)
    if (page_[i].pos == pos) return i;
  return -1;
}

void Browse::reloadOn(files::Position pos) {
  // The record's key values as they are now: it may have moved in the order.
  if (!file_.get(pos)) {
    reload();
    return;
  }
  fill(view_->anchorOfBuffer(Anchor::At), pos);
}

bool Browse::readSelected() {
  const Row r = current();
  return r.pos != 0 && file_.get(r.pos).ok();
}

files::Position Browse::selectedPosition() const {
  return current().pos;
}

void Browse::scroll(rt::EventKind kind, int step) {
  using K = rt::EventKind;
  const int size = pageSize();
  if (kind == K::ScrollTop) {
    fill({Anchor::Start}, 0);
    return;
  }
  if (kind == K::ScrollBottom) {
    fill({Anchor::End}, 0);
    if (!page_.empty()) show(int(page_.size()) - 1);
    return;
  }
  if (kind == K::ScrollDrag) {
    if (const std::optional<std::vector<QVariant>> v = thumbValues(step)) fill({Anchor::Values, *v, 0}, 0);
    list().setThumb(step);
    return;
  }
  if (page_.empty()) return;
  const bool down = kind == K::ScrollDown || kind == K::PageDown;
  const int want = (kind == K::ScrollDown || kind == K::ScrollUp) ? 1 : size;
  // Within the page a move of one row only moves the highlight.
  const int selected = selectedRow();
  if (want == 1 && down && selected + 1 < int(page_.size())) {
    show(selected + 1);
    return;
  }
  if (want == 1 && !down && selected > 0) {
    show(selected - 1);
    return;
  }
  const Row edge = down ? page_.back() : page_.front();
  std::vector<Row> more;
  std::vector<QStringList> moreTexts;
  const auto add = [&] { capture(&more, &moreTexts); };
  const files::Status st = down ? view_->forward({Anchor::After, edge.keyValues, edge.pos}, want, add)
                                : view_->backward({Anchor::Before, edge.keyValues, edge.pos}, want, add);
  if (!st) StandardMessage(msg::kRecordRetrievalError, {.file = file_.label(), .error = st});
  if (more.empty()) {
    show(down ? int(page_.size()) - 1 : 0);  // at the end already: the highlight goes to the last row
    return;
  }
  if (down) {
    page_.insert(page_.end(), more.begin(), more.end());
    texts_.insert(texts_.end(), moreTexts.begin(), moreTexts.end());
    const int drop = qMax(0, int(page_.size()) - size);
    page_.erase(page_.begin(), page_.begin() + drop);
    texts_.erase(texts_.begin(), texts_.begin() + drop);
    show(want == 1 ? int(page_.size()) - 1 : qMin(selected, int(page_.size()) - 1));
  } else {
    std::reverse(more.begin(), more.end());
    std::reverse(moreTexts.begin(), moreTexts.end());
    page_.insert(page_.begin(), more.begin(), more.end());
    texts_.insert(texts_.begin(), moreTexts.begin(), moreTexts.end());
    if (int(page_.size()) > size) {
      page_.resize(size);
      texts_.resize(size);
    }
    show(want == 1 ? 0 : qMax(0, selected));
  }
}

void Browse::locate(const QString& typed, bool backspace) {
  QString& text = locators_[currentTab()];
  if (backspace)
    text.chop(1);
  else
    text += typed;
  if (locatorEntry_)
    if (rt::Control* entry = window_.control(locatorEntry_)) entry->setText(text);
  const BrowseTab& t = tab();
  const auto& comps = t.key->components();
  for (files::Field* c : comps)
    c->clear();
  size_t first = 0;
  if (t.rangeVariable) {
    comps[0]->setValue(t.rangeVariable->value());
    first = 1;
  }
  if (first < comps.size()) {
    files::Field* into = comps[first];
    if (into->isText())
      into->setValue(text);
    else
      into->setValue(qlonglong(pic::deformat(text, "@n-20").value_or(qlonglong(0)).toLongLong()));
  }
  fill(view_->anchorOfBuffer(Anchor::Values), 0);
}

// The key values at `step` of 100 between the first and the last record of the view.
std::optional<std::vector<QVariant>> Browse::thumbValues(int step) {
  std::vector<QVariant> first, last;
  const auto keyValues = [this](std::vector<QVariant>* into) {
    return [this, into] {
      for (const files::Field* c : view_->key().components())
        into->push_back(c->value());
    };
  };
  if (!view_->forward({Anchor::Start}, 1, keyValues(&first)) || first.empty()) return std::nullopt;
  if (!view_->backward({Anchor::End}, 1, keyValues(&last)) || last.empty()) return std::nullopt;
  const size_t at = tab().rangeVariable ? 1 : 0;
  if (at >= first.size()) return first;
  std::vector<QVariant> values(first.size());
  for (size_t i = 0; i < at; ++i)
    values[i] = first[i];
  const double f = qBound(0, step, 100) / 100.0;
  const files::Field& field = *view_->key().components()[at];
  if (field.isText()) {
    const QString a = first[at].toString(), b = last[at].toString();
    const int prefix = commonPrefix(a, b);
    const double pa = textPosition(a, prefix), pb = textPosition(b, prefix);
    values[at] = textAt(std::floor(pa + (pb - pa) * f), a.toCaseFolded().left(prefix));
  } else {
    const double a = first[at].toDouble(), b = last[at].toDouble();
    values[at] = qlonglong(std::llround(a + (b - a) * f));
  }
  for (size_t i = at + 1; i < values.size(); ++i)
    values[i] = view_->key().components()[i]->isText() ? QVariant(QString()) : QVariant(qlonglong(0));
  return values;
}

// Places the thumb at the step the highlighted record lies in.
void Browse::updateThumb() {
  const Row r = current();
  if (r.pos == 0) {
    list().setThumb(0);
    return;
  }
  std::vector<QVariant> first, last;
  const auto keyValues = [this](std::vector<QVariant>* into) {
    return [this, into] {
      for (const files::Field* c : view_->key().components())
        into->push_back(c->value());
    };
  };
  if (!view_->forward({Anchor::Start}, 1, keyValues(&first)) || first.empty() ||
      !view_->backward({Anchor::End}, 1, keyValues(&last)) || last.empty())
    return;
  // The reads above moved the buffer off the highlighted record; a record gone meanwhile is
  // noticed when an action reads it again (readSelected).
  (void)file_.get(r.pos);
  const size_t at = tab().rangeVariable ? 1 : 0;
  if (at >= r.keyValues.size()) return;
  double pa, pb, pv;
  if (view_->key().components()[at]->isText()) {
    const QString a = first[at].toString(), b = last[at].toString();
    const int prefix = commonPrefix(a, b);
    pa = textPosition(a, prefix);
    pb = textPosition(b, prefix);
    pv = textPosition(r.keyValues[at].toString(), prefix);
  } else {
    pa = first[at].toDouble();
    pb = last[at].toDouble();
    pv = r.keyValues[at].toDouble();
  }
  list().setThumb(pb > pa ? int(std::lround(qBound(0.0, (pv - pa) / (pb - pa), 1.0) * 100)) : 0);
}

void Browse::press(int button) {
  if (button) window_.post(rt::EventKind::Accepted, button);
}

void Browse::popupMenu() {
  std::vector<BrowsePopupItem> items = popup_;
  if (items.empty())
    items = {{"&Add", buttons_.add},
             {"&Change", buttons_.change, true},
             {"&Delete", buttons_.remove, true},
             {"-"},
             {"&Print", buttons_.print},
             {"-"},
             {"&Search", buttons_.search},
             {"-"},
             {"&Import", buttons_.import},
             {"&Export", buttons_.exportButton}};
  QStringList texts;
  std::vector<int> buttons;
  for (const BrowsePopupItem& i : items) {
    if (i.text == "-") {
      texts << "-";
      continue;
    }
    const rt::Control* c = window_.control(i.button);
    const bool enabled = c && c->isEnabled() && !c->isHidden() && (!i.needsRows || !page_.empty());
    texts << (enabled ? QString() : QString("~")) + i.text;
    buttons.push_back(i.button);
  }
  const int chosen = rt::popup(texts);
  if (chosen >= 1 && chosen <= int(buttons.size())) press(buttons[chosen - 1]);
}

bool Browse::handle(const rt::Event& e) {
  using K = rt::EventKind;
  if (e.kind == K::NewSelection && e.control == sheet_ && sheet_) {
    if (currentTab() == tabShown_) return true;
    tabShown_ = currentTab();
    applyFilter();
    if (locatorEntry_)
      if (rt::Control* entry = window_.control(locatorEntry_)) entry->setText(locator());
    fill({Anchor::Start}, 0);
    return true;
  }
  if (e.kind == K::Sized) {
    reload();
    return false;
  }
  if (e.control != list_) return false;
  switch (e.kind) {
    case K::NewSelection:
      updateThumb();
      return true;
    case K::ScrollUp:
    case K::ScrollDown:
    case K::PageUp:
    case K::PageDown:
    case K::ScrollTop:
    case K::ScrollBottom:
    case K::ScrollDrag:
      scroll(e.kind, e.key);
      return true;
    case K::AlertKey: {
      const int key = e.key;
      if (key == Qt::Key_Insert) {
        press(buttons_.add);
      } else if (key == Qt::Key_Delete) {
        if (!page_.empty()) press(buttons_.remove);
      } else if (key == rt::kMouseLeft2 ||
                 key == QKeyCombination(Qt::ControlModifier, Qt::Key_Return).toCombined() ||
                 key == QKeyCombination(Qt::ControlModifier, Qt::Key_Enter).toCombined()) {
        if (!page_.empty()) press(buttons_.select ? buttons_.select : buttons_.change);
      } else if (key == rt::kMouseRight) {
        popupMenu();
      } else if (key == Qt::Key_Backspace) {
        locate(QString(), true);
      } else if (!e.data.isEmpty()) {
        locate(e.data, false);
      } else {
        return false;
      }
      return true;
    }
    default:
      return false;
  }
}

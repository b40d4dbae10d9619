#include "storage/form.h"

#include "platform/runtime/control.h"
#include "storage/auto_number.h"
#include "storage/integrity.h"
#include "storage/messages.h"
#include "storage/requests.h"
#include "storage/settings.h"
#include "storage/window_layout.h"

namespace {

std::map<const files::File*, files::Record::Snapshot>& lastSavedRecords() {
  static std::map<const files::File*, files::Record::Snapshot> saved;
  return saved;
}

const int kDittoKey = QKeyCombination(Qt::ControlModifier, Qt::Key_Apostrophe).toCombined();

}  // namespace

Form::Form(files::File& file, const QString& procedure, const std::vector<files::File*>& files,
           bool numberOnInsert)
    : file_(file), procedure_(procedure), numberOnInsert_(numberOnInsert) {
  request_ = GlobalRequest;
  GlobalRequest = NoRequest;
  GlobalResponse = NoResponse;
  if (request_ == SelectRecord) {
    request_ = InsertRecord;
    copy_ = true;
  }
  files_.emplace(files);
}

Form::~Form() {
  finish();
  if (window_) window_->close();
  files_.reset();
}

void Form::remember() {
  original_ = file_.record().snapshot();
  const files::Position pos = file_.position();
  if (!isChange() || pos == 0) return;
  // Watched from here, a change another station makes while the form is open is not overwritten:
  // the update routine reports it and shows the other station's record instead. The caller's
  // buffer stays as it was handed over.
  file_.watch();
  if (file_.get(pos)) file_.record().restore(original_);
}

bool Form::changed() const {
  return !file_.record().equals(original_);
}

bool Form::number() {
  if (!numberOnInsert_) return true;
  if (!NumberAndAdd(file_)) {
    response_ = RequestCancelled;
    return false;
  }
  provisional_ = file_.position();
  return true;
}

void Form::erase() {
  response_ = RequestCancelled;
  if (StandardMessage(msg::kConfirmDelete) != rt::kOk) return;
  for (;;) {
    if (RIDelete(file_)) {
      response_ = RequestCompleted;
      return;
    }
    if (StandardMessage(msg::kDeleteRetry) != rt::kYes) return;
  }
}

rt::Window& Form::window(const rt::WindowDecl& decl) {
  if (!window_) window_ = std::make_unique<rt::Window>(decl);
  return *window_;
}

void Form::show() {
  rt::Window& w = *window_;
  w.open();
  RestoreWindowPosition(w, procedure_);
  const QString datePicture = Pref::DateFormat.str().trimmed();
  if (!datePicture.isEmpty())
    for (const auto& c : w.controls())
      if (c->kind() == rt::ControlKind::Entry && c->decl().picture.startsWith("@d", Qt::CaseInsensitive))
        c->setPicture("@" + datePicture);
  w.alert(kDittoKey);
}

bool Form::handle(const rt::Event& e) {
  if (e.kind != rt::EventKind::AlertKey || e.key != kDittoKey || !window_) return false;
  const files::Record::Snapshot& last = lastSaved(file_);
  rt::Control* c = window_->control(e.control);
  if (!c || !c->variable() || last.empty()) return true;
  const auto& all = file_.record().all();
  for (size_t i = 0; i < all.size() && i < last.size(); ++i) {
    if (all[i] != c->variable()) continue;
    all[i]->setValue(last[i]);
    c->display();
  }
  return true;
}

bool Form::checkRanges(const std::vector<Range>& ranges) const {
  for (const Range& r : ranges) {
    const qint64 v = r.field->value().toLongLong();
    if (v >= r.low && v <= r.high) continue;
    StandardMessage(msg::kRangeError,
                    {.field = r.name, .range = QString("%1 and %2").arg(r.low).arg(r.high)});
    if (window_)
      if (rt::Control* c = window_->control(r.control)) c->setFocus();
    return false;
  }
  return true;
}

Form::Outcome Form::complete(int firstField) {
  if (isInsert()) {
    const files::Status s = provisional_ ? file_.put() : file_.add();
    if (s) provisional_ = 0;  // written: the record is the user's now
    if (!s) {
      if (s.code == files::kDuplicateKey) {
        const files::Key* k = file_.key(s.key);
        StandardMessage(msg::kDuplicateKeyError, {.file = k ? k->description() : s.key});
      } else {
        StandardMessage(msg::kRecordInsertError, {.error = s});
      }
      if (window_)
        if (rt::Control* c = window_->control(firstField)) c->setFocus();
      return Outcome::Stay;
    }
  } else if (isChange() && changed()) {
    for (;;) {
      const files::Record::Snapshot typed = file_.record().snapshot();
      const UpdateResult u = RIUpdate(file_, true);
      if (u == UpdateResult::Done) break;
      if (u == UpdateResult::Reread) {
        // The other station's record is shown; the ditto key brings back what the user typed.
        lastSavedRecords()[&file_] = typed;
        remember();
        if (window_) window_->display();
        return Outcome::Stay;
      }
      const rt::Button answer = StandardMessage(msg::kUpdateRetry);
      if (answer == rt::kYes) continue;
      if (answer == rt::kNo) {
        response_ = RequestCancelled;
        return Outcome::Cancelled;
      }
      return Outcome::Stay;
    }
  }
  lastSavedRecords()[&file_] = file_.record().snapshot();
  response_ = RequestCompleted;
  return Outcome::Completed;
}

void Form::finish() {
  if (provisional_ && response_ != RequestCompleted) {
    // The provisional record goes again; the buffer keeps what the user typed.
    const files::Record::Snapshot typed = file_.record().snapshot();
    files::Status s = file_.get(provisional_);
    if (s) s = file_.remove();
    if (!s && s.code != files::kRecordNotFound)
      StandardMessage(msg::kDeleteOperationError, {.file = file_.label(), .error = s});
    file_.record().restore(typed);
  }
  if (window_ && window_->isOpen()) SaveWindowPosition(*window_, procedure_);
  GlobalResponse = response_ ? response_ : RequestCancelled;
}

const files::Record::Snapshot& Form::lastSaved(const files::File& file) {
  return lastSavedRecords()[&file];
}

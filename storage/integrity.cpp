#include "storage/integrity.h"

#include <vector>

#include "platform/files/collation.h"
#include "platform/files/transaction.h"
#include "storage/file_access.h"
#include "storage/messages.h"
#include "storage/records.h"

namespace {

enum class Rule { None, Restrict, Cascade };

// One relation seen from the file a record is joined to (the target).
struct Link {
  files::File* referrer;
  files::Key* key;            // the referrer's key led by the joining field
  files::Field* joinField;    // the joining field in the referrer's buffer
  files::Field* targetField;  // the joining field in the target's buffer
  Rule onDelete;
  Rule onUpdate;
};

std::vector<Link> linksOf(const files::File& f) {
  using R = Rule;
  if (&f == &Cantorix)
    return {{&PlaylistDetails, &PlaylistDetails.KeyID, &PLA.ID, &MUS.ID, R::Restrict, R::None}};
  if (&f == &A_Songs)
    return {{&PlaylistDetails, &PlaylistDetails.KeyID, &PLA.ID, &A_S.ID, R::Restrict, R::None}};
  if (&f == &Categories)
    return {
        {&Album, &Album.KeyCategory, &ALB.CategoryID, &CAT.CategoryID, R::Restrict, R::Restrict},
        {&Cantorix, &Cantorix.SongsByCategory, &MUS.CategoryID, &CAT.CategoryID, R::Restrict, R::Cascade}};
  if (&f == &Album)
    return {{&A_Songs, &A_Songs.KeyFileNumber, &A_S.FileNumber, &ALB.FileNumber, R::Cascade, R::Cascade},
            {&A_Songs, &A_Songs.KeyAlbumID, &A_S.AlbumID, &ALB.AlbumID, R::Cascade, R::Cascade}};
  if (&f == &Media)
    return {{&Cantorix, &Cantorix.SongsByMedia, &MUS.Media, &MED.Media, R::Restrict, R::Cascade}};
  if (&f == &PlaylistMaster)
    return {{&PlaylistDetails, &PlaylistDetails.KeyPlaylistID, &PLA.PlaylistID, &PLD.PlaylistID, R::Cascade,
             R::None}};
  return {};
}

// Equal as a key compares them: texts without regard to case.
bool sameKey(const files::Field& f, const QVariant& a, const QVariant& b) {
  if (!f.isText()) return a.toLongLong() == b.toLongLong();
  const QByteArray x = a.toString().toUtf8(), y = b.toString().toUtf8();
  return files::compareText(x.constData(), int(x.size()), y.constData(), int(y.size())) == 0;
}

// Places the referrer's sequence at the first record whose joining field is `value`; false when
// there is none (the value may be one the key leaves out: then nothing refers to it).
bool firstReferrer(const Link& l, const QVariant& value, files::Status* error) {
  for (files::Field* c : l.key->components())
    c->clear();
  l.joinField->setValue(value);
  l.referrer->setFrom(*l.key);
  const files::Status s = l.referrer->next();
  if (!s) {
    if (s.code != files::kNoRecord) *error = s;
    return false;
  }
  return sameKey(*l.joinField, l.joinField->value(), value);
}

bool nextReferrer(const Link& l, const QVariant& value, files::Status* error) {
  const files::Status s = l.referrer->next();
  if (!s) {
    if (s.code != files::kNoRecord) *error = s;
    return false;
  }
  return sameKey(*l.joinField, l.joinField->value(), value);
}

// The files a routine works on besides the target, each once, opened for the routine's length.
class Dependents {
 public:
  explicit Dependents(const files::File& target) {
    const auto add = [this](files::File* f) {
      for (files::File* d : files_)
        if (d == f) return;
      files_.push_back(f);
    };
    for (const Link& l : linksOf(target)) {
      add(l.referrer);
      for (const Link& inner : linksOf(*l.referrer))
        if (inner.onDelete == Rule::Restrict && l.onDelete == Rule::Cascade) add(inner.referrer);
    }
    for (files::File* f : files_)
      opened_.push_back(OpenFile(*f) ? f : nullptr);
  }
  ~Dependents() {
    for (files::File* f : opened_)
      if (f) CloseFile(*f);
  }
  bool allOpen() const {
    for (files::File* f : opened_)
      if (!f) return false;
    return true;
  }
  Dependents(const Dependents&) = delete;
  Dependents& operator=(const Dependents&) = delete;

 private:
  std::vector<files::File*> files_;
  std::vector<files::File*> opened_;
};

bool frame(files::File& f, const char* action) {
  const files::Status s = files::beginTransaction(kIntegrityWaitMs, {&f});
  if (s) return true;
  StandardMessage(msg::kTransactionFramingError, {.file = f.label(), .action = action, .error = s});
  return false;
}

// Rolls back and shows a message about `error` (saved first, so the roll-back cannot replace it).
void failWith(int message, const QString& file, const files::Status& error) {
  SaveError(error);
  files::rollback();
  StandardMessage(message, {.file = file, .error = error});
}

// The outcome of deleting the records that refer to a deleted one.
enum class Cascade { Done, Refused, Failed };

// Deletes every record of `l.referrer` that refers to `value`, each only if its own restricting
// rules allow it.
Cascade cascadeDelete(const Link& l, const QVariant& value, QString* refusedBy) {
  files::Status error;
  for (bool found = firstReferrer(l, value, &error); found; found = nextReferrer(l, value, &error)) {
    for (const Link& guard : linksOf(*l.referrer)) {
      if (guard.onDelete != Rule::Restrict) continue;
      // The guard's scan moves its own file only; the referrer still stands on its record.
      if (firstReferrer(guard, guard.targetField->value(), &error)) {
        *refusedBy = guard.referrer->label();
        return Cascade::Refused;
      }
      if (!error.ok()) break;
    }
    if (!error.ok()) break;
    if (files::Status d = l.referrer->remove(); !d) {
      failWith(msg::kDeleteOperationError, l.referrer->label(), d);
      return Cascade::Failed;
    }
  }
  if (!error.ok()) {
    failWith(msg::kRecordRetrievalError, l.referrer->label(), error);
    return Cascade::Failed;
  }
  return Cascade::Done;
}

}  // namespace

bool RIDelete(files::File& file) {
  const files::Position pos = file.position();
  Dependents dependents(file);
  if (!dependents.allOpen() || !frame(file, "Delete")) return false;
  if (files::Status r = file.get(pos); !r) {
    failWith(msg::kRecordRetrievalError, file.label(), r);
    return false;
  }
  for (const Link& l : linksOf(file)) {
    const QVariant value = l.targetField->value();
    if (l.onDelete == Rule::Restrict) {
      files::Status error;
      if (firstReferrer(l, value, &error)) {
        files::rollback();
        StandardMessage(msg::kIntegrityDeleteError, {.file = l.referrer->label()});
        return false;
      }
      if (!error.ok()) {
        failWith(msg::kRecordRetrievalError, l.referrer->label(), error);
        return false;
      }
    } else if (l.onDelete == Rule::Cascade) {
      QString refusedBy;
      const Cascade c = cascadeDelete(l, value, &refusedBy);
      if (c == Cascade::Refused) {
        files::rollback();
        StandardMessage(msg::kIntegrityDeleteError, {.file = refusedBy});
      }
      if (c != Cascade::Done) return false;
    }
  }
  if (files::Status d = file.remove(); !d) {
    failWith(msg::kDeleteOperationError, file.label(), d);
    return false;
  }
  if (files::Status c = files::commit(); !c) {
    StandardMessage(msg::kDeleteOperationError, {.file = file.label(), .error = c});
    return false;
  }
  return true;
}

UpdateResult RIUpdate(files::File& file, bool fromForm) {
  const files::Position pos = file.position();
  Dependents dependents(file);
  if (!dependents.allOpen() || !frame(file, "Update")) return UpdateResult::Failed;

  // The joining values as they stand in the file, to tell which of them this change touches.
  const std::vector<Link> links = linksOf(file);
  std::vector<QVariant> oldValues;
  if (!links.empty()) {
    files::Record::Snapshot stored;
    if (files::Status s = file.stored(pos, &stored); !s) {
      failWith(msg::kUpdateOperationError, file.label(), s);
      return UpdateResult::Failed;
    }
    const auto& all = file.record().all();
    for (const Link& l : links)
      for (size_t i = 0; i < all.size(); ++i)
        if (all[i] == l.targetField) oldValues.push_back(stored[i]);
  }

  if (files::Status w = file.put(); !w) {
    SaveError(w);
    files::rollback();
    if (w.code == files::kChangedByOther) {
      StandardMessage(fromForm ? msg::kRecordWasNotUpdated : msg::kUpdateOperationError,
                      {.file = file.label(), .error = w});
      file.watch();
      if (files::Status r = file.get(pos); !r) {
        // The other station deleted it: there is nothing to show again.
        StandardMessage(msg::kRecordRetrievalError, {.file = file.label(), .error = r});
        return UpdateResult::Failed;
      }
      return UpdateResult::Reread;
    }
    StandardMessage(msg::kUpdateOperationError, {.file = file.label(), .error = w});
    return UpdateResult::Failed;
  }

  const auto changed = [&](size_t i) { return links[i].targetField->value() != oldValues[i]; };
  for (size_t i = 0; i < links.size(); ++i) {
    if (links[i].onUpdate != Rule::Restrict || !changed(i)) continue;
    files::Status error;
    if (firstReferrer(links[i], oldValues[i], &error) || !error.ok()) {
      files::rollback();
      links[i].targetField->setValue(oldValues[i]);
      if (error.ok())
        StandardMessage(msg::kIntegrityUpdateError, {.file = links[i].referrer->label()});
      else
        StandardMessage(msg::kUpdateOperationError, {.file = links[i].referrer->label(), .error = error});
      return UpdateResult::Failed;
    }
  }
  for (size_t i = 0; i < links.size(); ++i) {
    if (links[i].onUpdate != Rule::Cascade || !changed(i)) continue;
    const Link& l = links[i];
    const QVariant newValue = l.targetField->value();
    files::Status error;
    for (bool found = firstReferrer(l, oldValues[i], &error); found;
         found = nextReferrer(l, oldValues[i], &error)) {
      l.joinField->setValue(newValue);
      if (files::Status w = l.referrer->put(); !w) {
        error = w;
        break;
      }
    }
    if (!error.ok()) {
      failWith(msg::kUpdateOperationError, l.referrer->label(), error);
      return UpdateResult::Failed;
    }
  }
  if (files::Status c = files::commit(); !c) {
    StandardMessage(msg::kUpdateOperationError, {.file = file.label(), .error = c});
    return UpdateResult::Failed;
  }
  return UpdateResult::Done;
}

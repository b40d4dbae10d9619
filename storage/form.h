// The form machinery: what every form of the program does around its own fields, in an order no
// form can skip.
//
// A form edits one record of one file for a caller that set the program-wide request (insert,
// change, delete, or 4: copy) and reads the response (completed, cancelled) when the form returns.
// The procedure makes a Form, which runs the call sequence around the procedure's own steps:
//
//   Form form(Cantorix, "UpdateSong", {&Album, &Categories, &Media, &Cantorix});
//   if (!form) return;                       // a file could not be opened: cancelled
//   if (form.isDelete()) return form.erase();
//   if (form.isInsert() && !form.number()) return;
//   form.remember();
//   rt::Window& w = form.window({...});      // the form owns its window
//   ... declare the controls ...
//   form.show();
//   while (w.accept()) ... form.complete(firstField) ...
//   // leaving, on every way out: finish() while the window stands, the window closes, the files close
//
//   Form(...)     takes the request (and clears it and the response); a copy is an insert that keeps
//                 the record it was called with; then opens the files through the open counts
//   number()      numbers a new record and adds it at once (three tries, then message 25); the form
//                 then edits that provisional record, which closing without completing deletes
//   erase()       the delete path: message 32, the file's delete routine, message 18 to try again
//   show()        opens the window: position restored, every date entry given the "DateFormat"
//                 picture, the ditto key Ctrl+' (the focused field from the last record saved in this run)
//   checkRanges() range checks: the first field out of its range shows message 10 and gets the cursor
//   complete()    writes the record: an insert rewrites the provisional record (or adds it, for forms
//                 that number nothing), with message 24 for a duplicate key and 14 for other errors;
//                 a change goes through the file's update routine when the record (memos included)
//                 differs from the copy taken at opening, with message 16 to try again, and comes back
//                 to the form, redisplayed, when another station had changed the record
//   ~Form()       closing: a provisional record that was not completed is deleted, the window position
//                 saved, the response set (cancelled unless completed), the window and the files closed
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/files/file.h"
#include "platform/files/record.h"
#include "platform/runtime/window.h"
#include "storage/file_scope.h"

class Form {
 public:
  // `files`: every file the form uses, its own among them. `numberOnInsert`: whether an insert
  // numbers and adds its record when the form begins.
  Form(files::File& file, const QString& procedure, const std::vector<files::File*>& files,
       bool numberOnInsert = true);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // False when a file could not be opened.
  explicit operator bool() const { return bool(*files_); }
  bool isInsert() const { return request_ == 1; }
  bool isCopy() const { return copy_; }
  bool isChange() const { return request_ == 2; }
  bool isDelete() const { return request_ == 3; }

  // The record as it came in (fields and memos), for change detection and an undone insert; a
  // change also starts watching the record for other stations' writes.
  void remember();
  bool changed() const;

  // False when the insert is abandoned (the response is then cancelled).
  bool number();
  // Runs the delete path and sets the response; the form then ends without its window.
  void erase();

  // The form's window, made on the first call.
  rt::Window& window(const rt::WindowDecl& decl);
  void show();
  // Handles the ditto key; true when the event was it.
  bool handle(const rt::Event& e);

  struct Range {
    int control;
    const files::Field* field;
    qint64 low, high;
    QString name;  // as the message names the field
  };
  bool checkRanges(const std::vector<Range>& ranges) const;

  enum class Outcome { Completed, Stay, Cancelled };
  // Writes the record; `firstField` gets the cursor when an insert cannot be written.
  Outcome complete(int firstField);

  void setResponse(int response) { response_ = response; }

  // The last record of `file` a form saved in this run (empty before any).
  static const files::Record::Snapshot& lastSaved(const files::File& file);

 private:
  void finish();

  files::File& file_;
  QString procedure_;
  bool numberOnInsert_;
  int request_ = 0;
  bool copy_ = false;
  files::Position provisional_ = 0;  // an insert's record added when the form began
  int response_ = 0;
  files::Record::Snapshot original_;
  std::optional<FileScope> files_;
  std::unique_ptr<rt::Window> window_;
};

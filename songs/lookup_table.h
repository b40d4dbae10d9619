// The look-up tables of the catalogue (categories and media formats): one record of one name field
// each, so one browse and one form serve both, described by the table's own file, key and texts.
//
// The browse is a maintenance window, or a selection list when its caller set the request to 4:
// then "&Select" is shown and is the default, and choosing a row (the button, Enter, a double click
// or the popup) ends it completed with the row's record in the file's buffer. Closing it any other
// way answers cancelled and, for a selection list, gives the caller its buffer back untouched.
//
// The form adds, changes or deletes the table's record the browse hands it, through the form
// machinery (storage/form.h): numbering at insert when the table asks for it, the integrity
// routines for changes and deletions, the ditto key on the name entry.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

#include "platform/files/field.h"
#include "platform/files/file.h"
#include "platform/files/key.h"

struct LookupBrowse {
  enum Role { Select, Add, Change, Delete, Close };
  struct Button {
    Role role;
    const char* text;
  };

  QString procedure;  // the section of its window position and list layout
  QString title;
  files::File* file = nullptr;
  files::Key* key = nullptr;  // the order of the list
  QString format;             // the list's designed format
  std::function<QVariant()> column;
  std::vector<Button> buttons;  // in the order they stand in the window
  void (*form)() = nullptr;     // the table's form, called with the request set
};

void RunLookupBrowse(const LookupBrowse& table);

struct LookupForm {
  QString procedure;  // the section of its window position
  QString title;      // the window's own title, before the request names what it does
  QString insertTitle;
  QString changeTitle;
  files::File* file = nullptr;
  bool numberOnInsert = true;
  const char* prompt = "";
  const char* picture = "";
  files::Field* field = nullptr;  // the name the entry edits
};

void RunLookupForm(const LookupForm& table);

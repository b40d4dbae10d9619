#include "songs/lookup_table.h"

#include <algorithm>
#include <iterator>

#include "platform/runtime/control.h"
#include "platform/runtime/list_box.h"
#include "platform/runtime/window.h"
#include "storage/browse_window.h"
#include "storage/form.h"
#include "storage/requests.h"
#include "storage/window_layout.h"

namespace {

// --- the browse -----------------------------------------------------------------------------------

enum BrowseControl { kList = 1, kSelect, kAdd, kChange, kDelete, kClose };

const char* const kListName = "Browse:1";

int controlOf(LookupBrowse::Role role) {
  switch (role) {
    case LookupBrowse::Select:
      return kSelect;
    case LookupBrowse::Add:
      return kAdd;
    case LookupBrowse::Change:
      return kChange;
    case LookupBrowse::Delete:
      return kDelete;
    case LookupBrowse::Close:
      return kClose;
  }
  return 0;
}

QString textOf(const LookupBrowse& table, int control) {
  for (const LookupBrowse::Button& b : table.buttons)
    if (controlOf(b.role) == control) return b.text;
  return QString();
}

void declareBrowse(rt::Window& w, const LookupBrowse& table, bool selecting) {
  using K = rt::ControlKind;
  w.add({.kind = K::List, .number = kList, .rect = {8, 8, 190, 214}, .tip = "Browsing Records"});
  int y = 8;
  for (const LookupBrowse::Button& b : table.buttons) {
    const int n = controlOf(b.role);
    unsigned flags = 0;
    if (n == kSelect) flags = selecting ? rt::kDefault : rt::kHidden | rt::kDisabled;
    // The closing button stands apart, at the foot of the column.
    const int at = n == kClose ? 196 : y;
    w.add({.kind = K::Button, .number = n, .text = b.text, .rect = {206, at, 86, 26}, .flags = flags});
    if (n != kClose) y += 32;
  }
}

const int kEnterKeys[] = {Qt::Key_Return, Qt::Key_Enter,
                          QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter).toCombined()};

bool isEnter(const rt::Event& e) {
  return e.kind == rt::EventKind::AlertKey &&
         std::find(std::begin(kEnterKeys), std::end(kEnterKeys), e.key) != std::end(kEnterKeys);
}

// Calls the table's form with `request` on the record in the buffer and shows the page as the form
// left the file.
void callForm(const LookupBrowse& table, Browse& browse, int request) {
  GlobalRequest = request;
  table.form();
  if (GlobalResponse == RequestCompleted && request != DeleteRecord)
    browse.reloadOn(table.file->position());
  else
    browse.reload();
}

// --- the form -------------------------------------------------------------------------------------

enum FormControl { kEntry = 1, kPrompt, kOk, kCancel };

void declareForm(rt::Window& w, const LookupForm& table) {
  using K = rt::ControlKind;
  w.add({.kind = K::Prompt, .number = kPrompt, .text = table.prompt, .rect = {10, 14, 70, 22}});
  w.add({.kind = K::Entry, .number = kEntry, .rect = {84, 12, 236, 24}, .picture = table.picture})
      .use(*table.field);
  w.add({.kind = K::Button, .number = kOk, .text = "&Ok", .rect = {160, 58, 76, 26}, .flags = rt::kDefault});
  w.add({.kind = K::Button, .number = kCancel, .text = "Cancel", .rect = {244, 58, 76, 26}});
}

void edit(Form& form, const LookupForm& table) {
  if (form.isDelete()) {
    form.erase();  // without the window
    return;
  }
  if (form.isInsert() && !form.number()) return;
  form.remember();

  rt::Window& w =
      form.window({.title = table.title, .size = {330, 94}, .strategy = rt::ResizeStrategy::Form});
  declareForm(w, table);
  form.show();
  w.setTitle(form.isInsert() ? table.insertTitle : table.changeTitle);
  w.control(kEntry)->setFocus();

  while (w.accept()) {
    const rt::Event& e = w.event();
    if (form.handle(e)) continue;
    if (e.kind != rt::EventKind::Accepted) continue;
    if (e.control == kCancel) break;
    if (e.control != kOk || !w.update()) continue;
    if (form.complete(kEntry) != Form::Outcome::Stay) break;
  }
}

}  // namespace

namespace {

// The list, until a record is chosen (true) or the window closes.
bool browseUntilChosen(const LookupBrowse& table, bool selecting) {
  BrowseWindow bw({.procedure = table.procedure,
                   .window = {.title = table.title, .size = {300, 230}, .strategy = rt::ResizeStrategy::Form},
                   .files = {table.file},
                   .list = kList,
                   .listName = kListName,
                   .format = table.format});
  if (!bw) return false;
  rt::Window& w = bw.window();
  declareBrowse(w, table, selecting);
  bw.open();
  if (selecting) {
    // Enter chooses, as the default button of a selection list does.
    for (int key : kEnterKeys)
      w.alert(key);
  }
  Browse& browse =
      bw.browse(*table.file, {{0, table.key}},
                {.add = kAdd, .change = kChange, .remove = kDelete, .select = selecting ? kSelect : 0});
  browse.setColumns({table.column});
  browse.setPopup({{textOf(table, kAdd), kAdd},
                   {textOf(table, kChange), kChange, true},
                   {textOf(table, kDelete), kDelete, true},
                   {"-"},
                   {textOf(table, kSelect), kSelect}});
  browse.start();

  while (w.accept()) {
    const rt::Event& e = w.event();
    if (selecting && isEnter(e)) {
      w.post(rt::EventKind::Accepted, kSelect);
      continue;
    }
    if (browse.handle(e)) continue;
    if (e.kind != rt::EventKind::Accepted) continue;
    switch (e.control) {
      case kSelect:
        // The chosen record stays in the buffer for the caller: nothing reads the file after it.
        if (selecting && browse.readSelected()) return true;
        break;
      case kClose:
        w.post(rt::EventKind::CloseWindow);
        break;
      case kAdd:
        table.file->record().clear();
        callForm(table, browse, InsertRecord);
        break;
      case kChange:
      case kDelete:
        if (browse.readSelected())
          callForm(table, browse, e.control == kChange ? ChangeRecord : DeleteRecord);
        break;
      default:
        break;
    }
  }
  return false;
}

}  // namespace

void RunLookupBrowse(const LookupBrowse& table) {
  const bool selecting = GlobalRequest == SelectRecord;
  GlobalRequest = NoRequest;
  GlobalResponse = NoResponse;
  const files::Record::Snapshot incoming = table.file->record().snapshot();
  const bool chosen = browseUntilChosen(table, selecting);
  if (selecting && !chosen) table.file->record().restore(incoming);
  GlobalResponse = chosen ? RequestCompleted : RequestCancelled;
}

void RunLookupForm(const LookupForm& table) {
  Form form(*table.file, table.procedure, {table.file}, table.numberOnInsert);
  if (form) edit(form, table);
}

// The program-wide values windows pass each other when one calls another: the request a browse
// hands a form or a selection list, the form's response, the album context of the song form and
// the current side.
#pragma once

#include "platform/files/field.h"

enum Request : int {
  InsertRecord = 1,
  ChangeRecord = 2,
  DeleteRecord = 3,
  // A copy to the song form; a choice to a selection list.
  SelectRecord = 4,
};

enum Response : int {
  RequestCompleted = 1,
  RequestCancelled = 2,
};

extern int GlobalRequest;
extern int GlobalResponse;

// 0 none; 1 a song added from an album; 2 the album wizard's single-artist album; 3 its compilation.
extern int AlbumContext;

namespace GLO {
extern files::Byte Side;
}  // namespace GLO

// The number of the thread whose add wizard rows are meant: each wizard sets it to its own thread's
// number, and its rows carry it.
extern files::Long ThreadInstance;

// The song form's last button: "OK" or "Cancel"; blank while it is open.
extern files::String<20> LastButton;

// The program-wide values windows pass each other when one calls another: the request a browse
// hands a form or a selection list, the form's response, the album context of the song form and
// the current side.
#pragma once

#include "platform/files/field.h"

enum Request : int {
  NoRequest = 0,
  InsertRecord = 1,
  ChangeRecord = 2,
  DeleteRecord = 3,
  // A copy to the song form; a choice to a selection list.
  SelectRecord = 4,
};

enum Response : int {
  NoResponse = 0,
  RequestCompleted = 1,
  RequestCancelled = 2,
};

extern int GlobalRequest;
extern int GlobalResponse;

// Who calls the song form: nobody in particular, an album's window adding a song to it, or the
// album wizard adding songs to a single-artist album or to a compilation.
enum AlbumContextValue : int {
  NoAlbumContext = 0,
  SongOfAlbum = 1,
  WizardSingleArtist = 2,
  WizardCompilation = 3,
};
extern int AlbumContext;

namespace GLO {
extern files::Byte Side;
}  // namespace GLO

// The number of the thread whose add wizard rows are meant: each wizard sets it to its own thread's
// number, and its rows carry it.
extern files::Long ThreadInstance;

// The song form's last button: "OK" or "Cancel"; blank while it is open.
extern files::String<20> LastButton;

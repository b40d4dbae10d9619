// UpdateMedia: the form of one media format. Media formats carry no number: a new one is added only
// when "&Ok" completes, and a rename is carried into the songs by the Media update routine.
#include "songs/lookup_table.h"
#include "songs/songs.h"
#include "storage/records.h"

void UpdateMedia() {
  RunLookupForm({.procedure = "UpdateMedia",
                 .title = "Update Media Format",
                 .insertTitle = "Adding Media Format",
                 .changeTitle = "Changing Media Format",
                 .file = &Media,
                 .numberOnInsert = false,
                 .prompt = "&Media:",
                 .picture = "@s20",
                 .field = &MED.Media});
}

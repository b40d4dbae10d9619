// BrowseMedia: the media formats by name, a maintenance window or a selection list (request 4).
#include "songs/lookup_table.h"
#include "songs/songs.h"
#include "storage/records.h"

void BrowseMedia() {
  RunLookupBrowse({.procedure = "BrowseMedia",
                   .title = "Browse Media Formats",
                   .file = &Media,
                   .key = &Media.KeyMedia,
                   .format = "80L(2)|M~Media~L(2)@s20@",
                   .column = [] { return MED.Media.value(); },
                   .buttons = {{LookupBrowse::Add, "&Add"},
                               {LookupBrowse::Change, "&Change"},
                               {LookupBrowse::Delete, "&Delete"},
                               {LookupBrowse::Select, "&Select"},
                               {LookupBrowse::Close, "E&xit"}},
                   .form = UpdateMedia});
}

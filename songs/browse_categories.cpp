// BrowseCategories: the categories by name, a maintenance window or a selection list (request 4).
#include "songs/lookup_table.h"
#include "songs/songs.h"
#include "storage/records.h"

void BrowseCategories() {
  RunLookupBrowse({.procedure = "BrowseCategories",
                   .title = "Categories",
                   .file = &Categories,
                   .key = &Categories.KeyCategory,
                   .format = "80L(2)|M~Category~L(2)@s30@",
                   .column = [] { return CAT.Category.value(); },
                   .buttons = {{LookupBrowse::Select, "&Select"},
                               {LookupBrowse::Add, "&Insert"},
                               {LookupBrowse::Change, "&Change"},
                               {LookupBrowse::Delete, "&Delete"},
                               {LookupBrowse::Close, "Cl&ose"}},
                   .form = UpdateCategories});
}

// UpdateCategories: the form of one category. A new category is numbered and added as the form
// opens, so that the number is taken while the user types its name.
#include "songs/lookup_table.h"
#include "songs/songs.h"
#include "storage/records.h"

void UpdateCategories() {
  RunLookupForm({.procedure = "UpdateCategoriesD",
                 .title = "Update Categories",
                 .insertTitle = "Add Category",
                 .changeTitle = "Change Category",
                 .file = &Categories,
                 .numberOnInsert = true,
                 .prompt = "&Category:",
                 .picture = "@s30",
                 .field = &CAT.Category});
}

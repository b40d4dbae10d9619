// Popup menus: a list of items shown at the mouse pointer, answered as a wait of the calling thread.
#pragma once

#include <QStringList>

namespace rt {

// `items` are the texts in order; "-" is a separator line and a leading "~" greys an item. Returns
// the chosen item's number counting the items that are not separators from 1, or 0 when the menu
// was closed without a choice.
int popup(const QStringList& items);

}  // namespace rt

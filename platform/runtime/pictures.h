// Pictures by name, as windows and reports name them ("kvx98nte.gif", a user's logo file).
//
// A name is first looked up among the pictures the program registered (drawn in code, so the
// program needs no picture files of its own); any other name is read as an image file, relative to
// the working directory. A name that is neither gives a null pixmap.
#pragma once

#include <QPixmap>
#include <QString>
#include <functional>

namespace rt {

void registerPicture(const QString& name, std::function<QPixmap()> draw);
QPixmap picture(const QString& name);

}  // namespace rt

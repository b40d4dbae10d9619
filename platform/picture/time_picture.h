#pragma once

// Times: the numbered layouts over time values.

#include <QString>
#include <QVariant>
#include <optional>

#include "platform/picture/picture.h"

namespace pic::internal {

QString formatTime(const QVariant& value, const Picture& picture);
std::optional<QVariant> deformatTime(const QString& text, const Picture& picture);

}  // namespace pic::internal

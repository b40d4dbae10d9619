#pragma once

// Dates: the numbered layouts over day numbers.

#include <QString>
#include <QVariant>
#include <optional>

#include "platform/picture/picture.h"

namespace pic::internal {

QString formatDate(const QVariant& value, const Picture& picture);
std::optional<QVariant> deformatDate(const QString& text, const Picture& picture);

}  // namespace pic::internal

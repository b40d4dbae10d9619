#pragma once

// Patterns: digits poured into the '#' and '<' positions of a template.

#include <QString>
#include <QVariant>
#include <optional>

#include "platform/picture/picture.h"

namespace pic::internal {

QString formatPattern(const QVariant& value, const Picture& picture);
std::optional<QVariant> deformatPattern(const QString& text, const Picture& picture);

}  // namespace pic::internal

#pragma once

// Numbers: grouping, decimal places, signs, fill and currency.

#include <QString>
#include <QVariant>
#include <optional>

#include "platform/picture/picture.h"

namespace pic::internal {

QString formatNumber(const QVariant& value, const Picture& picture);
std::optional<QVariant> deformatNumber(const QString& text, const Picture& picture);

}  // namespace pic::internal

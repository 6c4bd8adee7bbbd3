#include "widgets/number_format.h"

#include "model/number_pattern.h"

std::string formatNumber(double value, std::string_view pattern) {
    return kaldor::patternText(value, pattern);
}

QString formatNumber(double value, const QString& pattern) {
    const QByteArray patternBytes = pattern.toLatin1();
    return QString::fromStdString(formatNumber(
        value,
        std::string_view(patternBytes.constData(), static_cast<std::size_t>(patternBytes.size()))));
}

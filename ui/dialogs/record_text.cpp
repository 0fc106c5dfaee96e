#include "ui/dialogs/record_text.h"

#include "platform/cp1252.h"

namespace ui {

QString FromRecord(std::string_view bytes) {
    return QString::fromStdString(platform::Cp1252ToUtf8(bytes));
}

std::string ToRecord(const QString& text) {
    return platform::Utf8ToCp1252(text.toStdString());
}

std::optional<long long> WholeNumber(const QString& text, long long min, long long max) {
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace ui

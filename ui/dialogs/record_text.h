#pragma once
// Between the controls' texts and the records' values: record strings are Windows-1252 bytes
// while the controls show Unicode, and numbers are typed as decimal text.

#include <QString>

#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

QString FromRecord(std::string_view bytes);
std::string ToRecord(const QString& text);

// A control's text as a whole decimal number; nothing when it is not one or lies outside
// [min, max].
std::optional<long long> WholeNumber(const QString& text, long long min, long long max);

// The same over the whole range of the record field's type.
template <typename Int>
std::optional<Int> WholeNumberAs(const QString& text) {
    const auto value = WholeNumber(text, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (!value) return std::nullopt;
    return static_cast<Int>(*value);
}

}  // namespace ui

#include "ui/web/location_page.h"

namespace ui {
namespace {

QString ReplaceFirst(const QString& text, const QString& placeholder, const QString& value) {
    constexpr qsizetype kKeptAfter = 999;
    const qsizetype at = text.indexOf(placeholder);
    if (at < 0) return text;
    return text.left(at) + value + text.mid(at + placeholder.size(), kKeptAfter);
}

}  // namespace

QString LocationPageUrl(const QString& base, const QString& queryTemplate, const QString& place,
                        const QString& country) {
    QString query = ReplaceFirst(queryTemplate, QStringLiteral("$P"), place);
    query = ReplaceFirst(query, QStringLiteral("$C"), country);
    query.replace(u' ', u'+');
    return base + query;
}

int GuessCountry(const QString& description, const QStringList& countries) {
    const QString text = description.toUpper();
    for (qsizetype i = 0; i < countries.size(); ++i) {
        QString country = countries[i].toUpper();
        while (country.endsWith(u' ')) country.chop(1);
        if (!country.isEmpty() && text.contains(country)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace ui

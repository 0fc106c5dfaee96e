#pragma once
// The weather and map pages of a webcam's place: a look-up service's address followed by its
// query template filled with the place and the country.

#include <QString>
#include <QStringList>

namespace ui {

// base + the template with its first "$P" replaced by place, then the first "$C" of the result
// by country (at most 999 characters after each placeholder are kept), every blank then "+".
QString LocationPageUrl(const QString& base, const QString& queryTemplate, const QString& place,
                        const QString& country);

// The first country of the list (compared upper-cased, without its trailing blanks) that the
// upper-cased description contains; -1 when none.
int GuessCountry(const QString& description, const QStringList& countries);

}  // namespace ui

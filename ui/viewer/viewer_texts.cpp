#include "ui/viewer/viewer_texts.h"

#include <QDateTime>
#include <QUrl>

#include <cmath>

#include "engine/messages.h"
#include "engine/timestamp.h"

namespace ui {
namespace {

QString Message(int number) { return QString::fromStdString(engine::LoadMessage(number)); }

QString Count(double value, int unitMessage) {
    return QString::number(static_cast<long long>(std::trunc(value))) + QStringLiteral(" ") + Message(unitMessage);
}

// Time and date as the French desktop writes them.
QString TimeAndDate(platform::TDateTime t) {
    const platform::DateTimeParts p = platform::DecodeDateTime(t);
    const QDateTime value(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
    return value.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" ") + value.toString(QStringLiteral("dd/MM/yyyy"));
}

}  // namespace

QString FormatAge(platform::TDateTime days) {
    if (days > 600) return Message(65250);
    if (days > 2) return Count(days, 65251);
    if (days > 1.0 / 12) return Count(days * 24, 65252);
    return Count(days * 24 * 60, 65253);
}

QString ShortenCaption(const QString& text) {
    if (text.size() <= 35) return text;
    const int slash = text.lastIndexOf(QLatin1Char('/'));
    return text.left(3) + QStringLiteral(".../") + text.mid(slash + 1);
}

QString PictureCaptionText(const QString& fileName, const QString& shortened, platform::TDateTime now, int entry,
                           int entries) {
    if (fileName.isEmpty()) return {};
    if (fileName.contains(QStringLiteral("_lastframe.jpg"))) return Message(65254);
    const platform::TDateTime t = engine::TimestampNameToDateTime(fileName.toStdString());
    if (t == 0) return shortened;
    return Message(65255) + QStringLiteral(" ") + TimeAndDate(t) + QStringLiteral(" - ") + FormatAge(now - t) +
           QStringLiteral(" ( ") + QString::number(entry) + Message(65267) + QString::number(entries) +
           QStringLiteral(" )");
}

QString PictureSizeText(long long bytes) {
    if (bytes == 0) return {};
    return QStringLiteral(" ") + QString::number(bytes) + Message(65256);
}

QString SizeLabelText(int width, int height) {
    return Message(65276) + QStringLiteral(" ") + QString::number(width) + QStringLiteral(" x ") +
           QString::number(height);
}

QString WebcamAgeText(platform::TDateTime now, platform::TDateTime lastNewPicture, platform::TDateTime serverDate,
                      platform::TDateTime lastModified) {
    if (lastNewPicture == 0) return {};
    if (serverDate != 0 && lastModified != 0)
        return QStringLiteral(" - ") + Message(65242) + QStringLiteral(" ") +
               FormatAge(now - lastNewPicture + (serverDate - lastModified));
    return QStringLiteral(" - ") + Message(65243) + QStringLiteral(" ") + FormatAge(now - lastNewPicture);
}

bool IsWebLink(const QString& url) {
    const QUrl parsed(url.trimmed(), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")) &&
           !parsed.host().isEmpty();
}

}  // namespace ui

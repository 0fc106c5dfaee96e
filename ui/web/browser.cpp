#include "ui/web/browser.h"

#include "platform/qt/prompts.h"
#include "ui/viewer/viewer_texts.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QClipboard>

namespace ui {

void OpenInBrowser(const QString& url, const UrlOpener& open) {
    if (!IsWebLink(url)) return;
    const QUrl address(url, QUrl::StrictMode);
    if (open ? open(address) : QDesktopServices::openUrl(address)) return;
    QGuiApplication::clipboard()->setText(url);
    platform::CurrentPrompts().Message(
        QStringLiteral("Aucun navigateur n'a pu être lancé pour ouvrir cette page. Son adresse a été copiée dans le "
                       "presse-papiers :\n") +
            url,
        platform::Prompts::Icon::Warning);
}

}  // namespace ui

#pragma once
// Web pages open in the desktop's browser, never through a shell, and only http or https. When
// no browser can be started the user is told so in a message box that shows the address, and
// the address is put on the clipboard, to be pasted into a browser started by hand.

#include <QString>
#include <QUrl>

#include <functional>

namespace ui {

using UrlOpener = std::function<bool(const QUrl& url)>;

// Opens url with open (QDesktopServices::openUrl unless a test gives another); anything but an
// http or https address is ignored.
void OpenInBrowser(const QString& url, const UrlOpener& open = {});

}  // namespace ui

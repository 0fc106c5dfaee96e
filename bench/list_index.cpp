// The list download dialog taking an index of 220 000 lists from a local server, as a hostile or
// overgrown site could offer: how long the index takes to show, and the longest time the window
// went without handling its events meanwhile (a 5 ms timer's longest gap). The anchor is the same
// index split into names and addresses alone, same run.
//
// Run with QT_QPA_PLATFORM=offscreen (set here when unset). ORVELLO_BENCH_LISTS overrides the
// number of index lines.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/qt/gui_loop.h"
#include "platform/qt/scripted_prompts.h"
#include "tests/support/mjpeg_peer.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/web/list_files.h"
#include "ui/web/wclistdownload.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    platform::GuiEventBridge bridge;
    platform::ScriptedPrompts prompts;
    const int lines = std::getenv("ORVELLO_BENCH_LISTS") ? std::atoi(std::getenv("ORVELLO_BENCH_LISTS")) : 220000;

    std::string index;
    for (int i = 0; i < lines; ++i)
        index += "L" + std::to_string(i) + ",http://l.example/" + std::to_string(i) + "\r\n";
    testsupport::MjpegPeer::Reply reply;
    reply.body = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + index;
    testsupport::MjpegPeer peer({reply});

    const auto anchorStart = Clock::now();
    const std::size_t parsed = ui::ParseListIndex(index).size();
    const double anchorMs = Ms(Clock::now() - anchorStart);

    ui::Twclistdownload& dialog = ui::wclistdownload();
    ui::ListDownloadServices services;
    services.programFolder = "/nonexistent/";
    Clock::time_point last = Clock::now(), started = last, shown{};
    Clock::duration longest{};
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longest = std::max(longest, now - last);
        last = now;
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("ListBox1"));
        if (list->count() == lines && shown == Clock::time_point{}) {
            shown = now;
            static_cast<QDialog&>(dialog).done(QDialog::Rejected);
        }
    });
    tick.start(5);
    // A failed index ends the run as well.
    QObject::connect(&dialog, &QDialog::finished, &tick, &QTimer::stop);
    QTimer::singleShot(120000, [&] { static_cast<QDialog&>(dialog).done(QDialog::Rejected); });
    dialog.Execute(peer.Url("/wclist24url.txt"), services);

    std::printf("index lines                      %d (%zu parsed)\n", lines, parsed);
    std::printf("index shown after                %.0f ms\n", Ms(shown - started));
    std::printf("longest gap of the window        %.0f ms\n", Ms(longest));
    std::printf("anchor: index split alone        %.0f ms\n", anchorMs);
    return shown == Clock::time_point{} ? 1 : 0;
}

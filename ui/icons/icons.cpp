#include "ui/icons/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <cstring>
#include <functional>

// Resources of a static library are registered by hand, once, outside any namespace.
static void RegisterIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace ui {
namespace {

// Our own images are drawn on a 24 x 24 grid and rendered at the sizes tool bars use.
using Drawing = std::function<void(QPainter&)>;

const QColor kInk(0x33, 0x44, 0x55);
const QColor kGo(0x2e, 0x9d, 0x3a);
const QColor kHalt(0xd3, 0x2f, 0x2f);
const QColor kBlue(0x2b, 0x7b, 0xc0);

QIcon Drawn(const Drawing& draw) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void Fill(QPainter& p, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
}

void Stroke(QPainter& p, const QColor& colour, double width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void Triangle(QPainter& p, double fromX, double toX) {
    p.drawPolygon(QPolygonF{QPointF(fromX, 5), QPointF(toX, 12), QPointF(fromX, 19)});
}

// A triangle pointing right (dir 1) or left (-1) with its tip at x, count times side by side.
void Arrows(QPainter& p, double x, int dir, int count, bool bar) {
    Fill(p, kInk);
    for (int i = 0; i < count; ++i) {
        const double tip = x - dir * i * 8;
        Triangle(p, tip - dir * 9, tip);
    }
    if (bar) p.drawRect(QRectF(dir > 0 ? x : x - 2.5, 5, 2.5, 14));
}

Drawing Play() {
    return [](QPainter& p) {
        Fill(p, kGo);
        Triangle(p, 6, 20);
    };
}

Drawing Stop() {
    return [](QPainter& p) {
        Fill(p, kHalt);
        p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
    };
}

Drawing Refresh() {
    return [](QPainter& p) {
        Stroke(p, kBlue, 2.5);
        p.drawArc(QRectF(5, 5, 14, 14), 60 * 16, 280 * 16);
        Fill(p, kBlue);
        p.drawPolygon(QPolygonF{QPointF(13, 1.5), QPointF(19.5, 5.5), QPointF(13, 9.5)});
    };
}

Drawing Pencil() {
    return [](QPainter& p) {
        p.translate(12, 12);
        p.rotate(45);
        Fill(p, QColor(0xf0, 0xb4, 0x29));
        p.drawRect(QRectF(-2.5, -10, 5, 14));
        Fill(p, kInk);
        p.drawPolygon(QPolygonF{QPointF(-2.5, 4), QPointF(2.5, 4), QPointF(0, 9)});
    };
}

Drawing Magnifier() {
    return [](QPainter& p) {
        Stroke(p, kInk, 2.5);
        p.drawEllipse(QRectF(4, 4, 11, 11));
        p.setPen(QPen(kInk, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(19.5, 19.5));
    };
}

Drawing Globe() {
    return [](QPainter& p) {
        Fill(p, QColor(0xd6, 0xe9, 0xf8));
        p.drawEllipse(QRectF(3, 3, 18, 18));
        Stroke(p, kBlue, 1.5);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.drawEllipse(QRectF(8, 3, 8, 18));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
    };
}

Drawing Weather() {
    return [](QPainter& p) {
        Fill(p, QColor(0xf9, 0xc2, 0x2e));
        p.drawEllipse(QRectF(3, 3, 11, 11));
        Fill(p, QColor(0x9e, 0xb3, 0xc6));
        p.drawEllipse(QRectF(7, 11, 9, 8));
        p.drawEllipse(QRectF(12, 9, 9, 10));
        p.drawRoundedRect(QRectF(6, 15, 16, 5), 2.5, 2.5);
    };
}

Drawing MapPin() {
    return [](QPainter& p) {
        QPainterPath pin;
        pin.moveTo(12, 22);
        pin.cubicTo(6, 14, 5, 11, 5, 9);
        pin.arcTo(QRectF(5, 2, 14, 14), 180, -180);
        pin.cubicTo(19, 11, 18, 14, 12, 22);
        Fill(p, kHalt);
        p.drawPath(pin);
        Fill(p, Qt::white);
        p.drawEllipse(QRectF(9.5, 6.5, 5, 5));
    };
}

Drawing QuickBar() {
    return [](QPainter& p) {
        Fill(p, kInk);
        p.drawRoundedRect(QRectF(2, 7, 20, 10), 2, 2);
        Fill(p, QColor(0xd6, 0xe9, 0xf8));
        for (double x : {4.0, 10.0, 16.0}) p.drawRect(QRectF(x, 9, 4, 6));
    };
}

Drawing Check() {
    return [](QPainter& p) {
        Stroke(p, kGo, 3.5);
        p.drawPolyline(QPolygonF{QPointF(5, 12.5), QPointF(10, 17.5), QPointF(19, 6.5)});
    };
}

Drawing Cross() {
    return [](QPainter& p) {
        Stroke(p, kHalt, 3.5);
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    };
}

struct ToolImage {
    const char* button;
    const char* themeName;  // freedesktop icon naming
    Drawing (*own)();
};

Drawing PreviousWebcam() { return [](QPainter& p) { Arrows(p, 7, -1, 1, false); }; }
Drawing NextWebcam() { return [](QPainter& p) { Arrows(p, 17, 1, 1, false); }; }
Drawing FirstPicture() { return [](QPainter& p) { Arrows(p, 7, -1, 1, true); }; }
Drawing LastPicture() { return [](QPainter& p) { Arrows(p, 17, 1, 1, true); }; }
Drawing PreviousPicture() { return [](QPainter& p) { Arrows(p, 4, -1, 2, false); }; }
Drawing NextPicture() { return [](QPainter& p) { Arrows(p, 20, 1, 2, false); }; }

const ToolImage kToolImages[] = {
    {"ToolButton8", "media-playback-start", Play},
    {"ToolButton9", "media-playback-stop", Stop},
    {"ToolButton1", "go-previous", PreviousWebcam},
    {"ToolButton2", "go-next", NextWebcam},
    {"ToolButton7", "view-refresh", Refresh},
    {"ToolButton4", "document-edit", Pencil},
    {"ToolButton5", "edit-find", Magnifier},
    {"ToolButton6", "internet-web-browser", Globe},
    {"ToolButton23", "weather-few-clouds", Weather},
    {"ToolButton22", "mark-location", MapPin},
    {"ToolButton25", "view-list-icons", QuickBar},
    {"ToolButton16", "go-first", FirstPicture},
    {"ToolButton10", "media-seek-backward", PreviousPicture},
    {"ToolButton11", "media-seek-forward", NextPicture},
    {"ToolButton17", "go-last", LastPicture},
    {"ToolButton13", "media-playback-start", Play},
    {"ToolButton14", "media-playback-stop", Stop},
    {"ToolButton20", "emblem-default", Check},
    {"ToolButton19", "process-stop", Cross},
};

// The theme's icon only when it really draws: a theme may list icons in a format this Qt
// cannot read.
QIcon ThemeOr(const char* themeName, const Drawing& own) {
    if (QIcon::hasThemeIcon(QString::fromLatin1(themeName))) {
        const QIcon theme = QIcon::fromTheme(QString::fromLatin1(themeName));
        if (!theme.pixmap(24).isNull()) return theme;
    }
    return Drawn(own);
}

}  // namespace

QIcon ProgramIcon() {
    RegisterIconResources();
    QIcon icon;
    for (int size : {48, 128, 256}) icon.addFile(QStringLiteral(":/orvello/orvello-%1.png").arg(size));
    return icon;
}

QImage SplashPicture() {
    RegisterIconResources();
    return QImage(QStringLiteral(":/orvello/splash.png"));
}

QIcon ToolButtonIcon(const char* buttonName) {
    for (const ToolImage& image : kToolImages)
        if (std::strcmp(image.button, buttonName) == 0) return ThemeOr(image.themeName, image.own());
    return {};
}

QIcon StopAllIcon(int imageIndex) {
    const QIcon stop = ToolButtonIcon("ToolButton9");
    if (imageIndex == 0) return stop;
    // Nothing to stop: the same image, greyed.
    QIcon idle;
    for (const QSize& size : stop.availableSizes()) idle.addPixmap(stop.pixmap(size, QIcon::Disabled));
    if (idle.isNull()) idle.addPixmap(stop.pixmap(24, QIcon::Disabled));
    return idle;
}

}  // namespace ui

#include "saver/saver_aboutbox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace saver {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Orvello Screen Saver"));
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* image = new QLabel(bevel);
    image->setObjectName(QStringLiteral("ProgramIcon"));
    image->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(48, 48));
    auto* product = new QLabel(QStringLiteral("Orvello Screen Saver 2.1"), bevel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto* purpose = new QLabel(QStringLiteral("Shows the webcams of Orvello full screen."), bevel);
    auto* maker = new QLabel(QStringLiteral("Quenmark"), bevel);
    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(purpose);
    texts->addWidget(maker);
    auto* inside = new QHBoxLayout(bevel);
    inside->addWidget(image, 0, Qt::AlignTop);
    inside->addLayout(texts, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bevel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

}  // namespace saver

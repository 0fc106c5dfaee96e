#include "ui/dialogs/aboutbox.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/title_width.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ui {

namespace {
const QString kProductName = QStringLiteral("Orvello v3.0");
}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos de Orvello"));
    auto* layout = new QVBoxLayout(this);
    ProductName = Named<QLabel>(this, "ProductName", kProductName);
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    ProductName->setFont(big);
    layout->addWidget(ProductName);
    layout->addWidget(Named<QLabel>(this, "Version", QStringLiteral("Observateur de webcams")));
    layout->addWidget(Named<QLabel>(this, "Copyright", QStringLiteral("Copyright © Quenmark")));
    AddOkCancel(this, layout, false);
    FitTitle(*this);
}

void TAboutBox::Execute(const QString& brandingTitle) {
    // Built from the product name each time, so a second showing does not repeat the title.
    ProductName->setText(brandingTitle.isEmpty() ? kProductName : kProductName + QStringLiteral(" - ") + brandingTitle);
    exec();
}

TAboutBox& aboutbox() { return DialogInstance<TAboutBox>::Get(); }

}  // namespace ui

#include "ui/dialogs/showtextfile.h"

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <fstream>
#include <iterator>

namespace ui {

namespace {

constexpr int kMsgCannotCreateFile = 65177;

std::string JoinLines(const std::vector<std::string>& lines, const char* lineEnd) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append(lineEnd);
    return text;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

Tshowtextfile::Tshowtextfile(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("showtextfile"));
    setWindowTitle(QStringLiteral("Montrer les en-têtes"));
    resize(600, 400);
    auto* layout = new QVBoxLayout(this);
    ListBox1 = Named<QListWidget>(this, "ListBox1");
    layout->addWidget(ListBox1);
    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const char* name, const QString& caption, auto slot) {
        auto* button = Named<QPushButton>(this, name, caption);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    };
    addButton("Button1", QStringLiteral("Quitter"), &QDialog::accept);
    addButton("Button2", QStringLiteral("Enregistrer..."), &Tshowtextfile::Button2Click);
    addButton("Button3", QStringLiteral("Copier"), &Tshowtextfile::Button3Click);
    addButton("Button4", QStringLiteral("Actualiser"), &Tshowtextfile::Button4Click);
    buttons->addStretch();
    layout->addLayout(buttons);

    SaveDialog1 = Named<QFileDialog>(this, "SaveDialog1");
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setDefaultSuffix(QStringLiteral("txt"));
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
}

void Tshowtextfile::ShowFile(const std::string& fileName, const QString& caption) {
    fileName_ = fileName;
    setWindowTitle(caption);
    LoadLines();
    exec();
    ListBox1->clear();
    lines_.clear();
}

void Tshowtextfile::LoadLines() {
    std::ifstream in(fileName_, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    lines_ = SplitLines(text);
    ListBox1->clear();
    for (const std::string& line : lines_) ListBox1->addItem(FromRecord(line));
}

void Tshowtextfile::keyPressEvent(QKeyEvent* event) {
    // Escape closes the viewer as "Quitter" does.
    if (event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tshowtextfile::Button2Click() {
    if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
    const QString target = SaveDialog1->selectedFiles().constFirst();
    std::ofstream out(target.toStdString(), std::ios::binary | std::ios::trunc);
    out << JoinLines(lines_, "\n");
    out.close();
    if (!out) QMessageBox::warning(this, windowTitle(), Message(kMsgCannotCreateFile) + QLatin1Char(' ') + target);
}

void Tshowtextfile::Button3Click() {
    QApplication::clipboard()->setText(FromRecord(JoinLines(lines_, "\r\n")));
}

void Tshowtextfile::Button4Click() { LoadLines(); }

Tshowtextfile& showtextfile() { return DialogInstance<Tshowtextfile>::Get(); }

}  // namespace ui

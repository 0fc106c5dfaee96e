#include "ui/editors/addheadedit.h"

#include "platform/safe_name.h"
#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_instance.h"
#include "ui/dialogs/record_text.h"
#include "ui/dialogs/showtextfile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <fstream>
#include <iterator>

namespace ui {
namespace {

constexpr int kMsgCannotCreateFile = 65177;

bool IsBlank(const QString& line) { return line.trimmed().isEmpty(); }

}  // namespace

Taddheadedit::Taddheadedit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("addheadedit"));
    setWindowTitle(QStringLiteral("Ajout additionnel d'en-tête HTTP"));
    resize(360, 240);
    auto* layout = new QVBoxLayout(this);
    RichEdit1 = Named<QPlainTextEdit>(this, "RichEdit1");
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(RichEdit1);
    auto* notes = new QHBoxLayout;
    auto* noteLines = new QVBoxLayout;
    noteLines->addWidget(
        new QLabel(QStringLiteral("Ces en-tête additionels sont  ajoutés à la requête HTTP "), this));
    noteLines->addWidget(new QLabel(QStringLiteral("ex : cookie: somecookie=value"), this));
    notes->addLayout(noteLines);
    notes->addStretch();
    auto* clear = Named<QPushButton>(this, "Button1", QStringLiteral("Effacer"));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, &Taddheadedit::Button1Click);
    notes->addWidget(clear, 0, Qt::AlignBottom);
    layout->addLayout(notes);
    AddOkCancel(this, layout);
}

bool Taddheadedit::Execute(std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines) shown << FromRecord(line);
    RichEdit1->setPlainText(shown.join(QLatin1Char('\n')));
    RichEdit1->setFocus();
    if (exec() != QDialog::Accepted) return false;
    lines.clear();
    for (const QString& line : RichEdit1->toPlainText().split(QLatin1Char('\n'))) {
        if (!IsBlank(line)) lines.push_back(ToRecord(line));
    }
    return true;
}

void Taddheadedit::Button1Click() { RichEdit1->clear(); }

Taddheadedit& addheadedit() { return DialogInstance<Taddheadedit>::Get(); }

std::string AddHeadPath(const std::string& dataFolder, std::string_view name) {
    const std::string folder = platform::SafeSubfolder(dataFolder, name);
    return folder.empty() ? folder : folder + kAddHeadFile;
}

std::vector<std::string> LoadHeaderLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return SplitLines({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

bool SaveHeaderLines(QWidget* parent, const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
    out.close();
    if (out) return true;
    QMessageBox::warning(parent, QStringLiteral("Orvello"),
                         Message(kMsgCannotCreateFile) + QString::fromStdString(path));
    return false;
}

}  // namespace ui

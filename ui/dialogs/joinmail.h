#pragma once
// "Joindre la mailling liste Orvello": one message to the product's mailing list, to join it,
// to leave it or to send a comment. The address typed is checked before anything is sent; the
// window keeps answering while the message goes out, and a failed send is told in French with
// the dialog left open, the text kept.

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace ui {

// Where the messages go: the program's own list and server unless a test aims elsewhere.
struct MailingListServer {
    std::string listAddress;
    std::string host;
    std::uint16_t port = 25;
    std::uint32_t inactivityMs = 30000;  // a server silent this long ends the send
};
MailingListServer OrvelloMailingList();

// The subject of each mode (1 subscribe, 2 unsubscribe, 3 comment).
std::string MailingListSubject(int mode);

// The message that refuses an address, or 0 when it may be sent: empty (65196), without "@"
// or holding a line break or another control character (65197).
int RefusedAddressMessage(const QString& address);

class Tjoinmail : public QDialog {
    Q_OBJECT
public:
    explicit Tjoinmail(QWidget* parent = nullptr);
    ~Tjoinmail() override;

    // Checks the radio of mode (1..3) and shows the dialog modally.
    void Execute(int mode);
    void SetServer(MailingListServer server) { server_ = std::move(server); }
    bool Sending() const { return sending_; }

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QLineEdit* Edit1;
    QPlainTextEdit* RichEdit1;
    QLabel* Label4;
    QPushButton* Button1;  // "Envoyer"
    QPushButton* Button2;  // "Quitter"

public slots:
    void reject() override;

private slots:
    void Button1Click();

private:
    class Component;
    // True when sent; a failure has been told.
    bool Send(const QString& address);
    int Mode() const;

    MailingListServer server_;
    std::unique_ptr<Component> tvxSMTP1;  // made at the first send
    bool sending_ = false;
};

Tjoinmail& joinmail();

}  // namespace ui

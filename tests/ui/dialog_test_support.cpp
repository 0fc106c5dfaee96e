#include "tests/ui/dialog_test_support.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QAbstractButton>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace dialogtest {

namespace {

// The test program's application object, made before the first test and deleted after the
// last, unless something else already made one.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const bool kRegistered = (::testing::AddGlobalTestEnvironment(new ApplicationEnvironment), true);

constexpr int kPollMs = 5;
constexpr int kMaxPolls = 2000;  // ten seconds

QString ArtifactsFolder() {
    const QByteArray fromEnv = qgetenv("ORVELLO_DIALOG_ARTIFACTS");
    if (!fromEnv.isEmpty()) return QString::fromLocal8Bit(fromEnv);
#ifdef ORVELLO_DIALOG_ARTIFACTS
    return QStringLiteral(ORVELLO_DIALOG_ARTIFACTS);
#else
    return QDir::temp().filePath(QStringLiteral("orvello-dialogs"));
#endif
}

}  // namespace

bool ShowExposed(QWidget& window) {
    window.show();
    QDeadlineTimer deadline(kPollMs * kMaxPolls);
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QCoreApplication::processEvents();
    return window.windowHandle() && window.windowHandle()->isExposed();
}

void WhenShown(QDialog& dialog, std::function<void()> action) {
    auto* timer = new QTimer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, polls, &dialog, action = std::move(action)] {
        if (!dialog.isVisible()) {
            if (++*polls < kMaxPolls) return;
            ADD_FAILURE() << "dialog " << dialog.objectName().toStdString() << " never showed";
        } else {
            action();
            if (dialog.isVisible()) {
                ADD_FAILURE() << "dialog " << dialog.objectName().toStdString() << " left open";
                dialog.reject();
            }
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start(kPollMs);
}

void WhenTrue(std::function<bool()> condition, std::function<void()> action) {
    auto* timer = new QTimer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, polls, condition = std::move(condition), action = std::move(action)] {
                         if (!condition()) {
                             if (++*polls < kMaxPolls) return;
                             ADD_FAILURE() << "the awaited condition never held";
                         } else {
                             action();
                         }
                         timer->stop();
                         timer->deleteLater();
                     });
    timer->start(kPollMs);
}

MessageBoxAnswerer::MessageBoxAnswerer(std::function<void()> onBox) : timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, [this, onBox = std::move(onBox)] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible()) continue;
            if (onBox) onBox();
            texts_.push_back(box->text());
            box->done(box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::Ok);
        }
    });
    timer_->start(kPollMs);
}

MessageBoxAnswerer::~MessageBoxAnswerer() = default;

void SaveScreenshot(QWidget& widget, const QString& name) {
    const QDir folder(ArtifactsFolder());
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    const QString file = folder.filePath(name + QStringLiteral(".png"));
    EXPECT_TRUE(widget.grab().save(file)) << file.toStdString();
}

}  // namespace dialogtest

namespace dialogtest {

void Click(QWidget& parent, const char* name) { Child<QAbstractButton>(parent, name).click(); }

QStringList ListLines(QListWidget& list) {
    QStringList lines;
    for (int row = 0; row < list.count(); ++row) lines << list.item(row)->text();
    return lines;
}

}  // namespace dialogtest

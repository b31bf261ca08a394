#include "platform/toolbox/dialogs.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "platform/desktop.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/questionwindows.h"
#include "platform/toolbox/scrap.h"
#include "platform/toolbox/windows.h"

namespace toolbox {

namespace {

// A chooser is a modal loop of its own: in tests nobody answers it.
void guardChooser(const char* what) {
    if (ModalGuard())
        throw ModalStall(std::string("the ") + what + " waits for an answer that nobody gives");
}

bool putFile(const std::string& suggestedName, std::string* path) {
    guardChooser("save dialog");
    const QFileDialog::Options options =
        platform::SaveAddsToFile() ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options();
    const QString p = QFileDialog::getSaveFileName(
        nullptr, QString(), QString::fromStdString(suggestedName), QString(), nullptr, options);
    if (p.isEmpty()) return false;
    *path = p.toStdString();
    return true;
}

bool folder(std::string* out) {
    guardChooser("folder chooser");
    const QString p = QFileDialog::getExistingDirectory(nullptr);
    if (p.isEmpty()) return false;
    *out = p.toStdString();
    if (out->back() != '/') *out += '/';
    return true;
}

bool getFile(const char* fileType, std::string* path) {
    guardChooser("open dialog");
    const QString filter = fileType && std::string(fileType) == "TEXT"
                               ? QStringLiteral("Text files (*.txt *.csv *.tab);;All files (*)")
                               : QString();
    const QString p = QFileDialog::getOpenFileName(nullptr, QString(), QString(), filter);
    if (p.isEmpty()) return false;
    *path = p.toStdString();
    return true;
}

void reveal(const std::string& posixPath) { RevealFile(posixPath); }
void switchBack() { BringProgramToFront(); }

}  // namespace

void InstallServiceHooks(platform::DesktopHooks* hooks) {
    hooks->reveal = reveal;
    hooks->switchBack = switchBack;
}

void StartToolbox(int* argc, char** argv) {
    StartDesktop(argc, argv);
    UseSystemClipboard();
    UseDesktopFileDialogs();
    UseDesktopQuestions();
}

void UseDesktopFileDialogs() { platform::SetDialogAnswers(putFile, folder, getFile); }

bool OpenURL(const std::string& url) {
    StartDesktop(nullptr, nullptr);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool OpenDocument(const std::string& posixPath) {
    StartDesktop(nullptr, nullptr);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(posixPath)));
}

void RevealFile(const std::string& posixPath) {
    StartDesktop(nullptr, nullptr);
    const QString path = QString::fromStdString(posixPath);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() == QDBusMessage::ReplyMessage) return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void BringProgramToFront() {
    if (WindowPtr w = FrontWindow()) SelectWindow(w);
    if (WindowPtr w = FrontWindow()) RaiseNative(w->native);
}

}  // namespace toolbox

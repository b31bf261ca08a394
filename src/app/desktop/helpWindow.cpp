#include "app/desktop/helpWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "app/desktop/startup.h"
#include "app/preferences.h"
#include "platform/files.h"
#include "platform/leakcheck.h"
#include "platform/resources.h"
#include "platform/toolbox/dialogs.h"

namespace {

// The help pages are compiled into the program under resources/help/ and
// reached through this scheme, so that they need no files beside it.
constexpr const char* kHelpScheme = "help";
constexpr const char* kStartPage = "help:/index.html";
constexpr const char* kManualPage = "help:/manual.html";
constexpr const char* kResourceFolder = "help";
constexpr int kWidth = 640, kHeight = 520;
// Clear of the menu bar and of the main window's corner.
constexpr int kLeft = 340, kTop = 120;
constexpr int32_t kTicked = 1, kUnticked = 2;

// Schemes handed to the browser; anything else (a script, a program) is refused.
constexpr const char* kOutsideSchemes[] = {"http", "https", "mailto", "file"};
constexpr int32_t kRefused = -1;

// Qt's font database keeps a few bytes of the system's fontconfig for the life
// of the process; the leak checker of a sanitizer build looks away while the
// help window lays out text.
using FontConfigLeaksIgnored = platform::LeaksIgnored;

class HelpBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& url) override {
        if (url.scheme() != kHelpScheme) return {};
        const std::string name = std::string(kResourceFolder) + url.path().toStdString();
        const std::string_view bytes = platform::embeddedResource(name);
        if (bytes.empty()) return {};
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    }
};

struct Controller {
    std::unique_ptr<QWidget> window;
    HelpBrowser* browser = nullptr;
    QCheckBox* check = nullptr;
    HelpCallback callBack = nullptr;
};
std::unique_ptr<Controller> sharedController;

LinkOpener gOpener;

bool desktopOpen(const std::string& address) {
    const QUrl url(QString::fromStdString(address));
    if (url.isLocalFile()) return toolbox::OpenDocument(url.toLocalFile().toStdString());
    return toolbox::OpenURL(address);
}

bool openOutside(const std::string& address) {
    return gOpener ? gOpener(address) : desktopOpen(address);
}

void followLink(const QUrl& url) {
    if (!sharedController) return;
    if (url.scheme() == kHelpScheme || url.isRelative()) {
        sharedController->browser->setSource(sharedController->browser->source().resolved(url));
        return;
    }
    CPURLHandlerLaunchURL(url.toString().toStdString());
}

void buildController(HelpCallback callback) {
    [[maybe_unused]] FontConfigLeaksIgnored ignored;
    auto c = std::make_unique<Controller>();
    c->window = std::make_unique<QWidget>();
    c->window->setWindowTitle("Strixel Help");
    c->window->setGeometry(kLeft, kTop, kWidth, kHeight);
    auto* layout = new QVBoxLayout(c->window.get());
    c->browser = new HelpBrowser(c->window.get());
    c->browser->setOpenLinks(false);
    QObject::connect(c->browser, &QTextBrowser::anchorClicked, followLink);
    layout->addWidget(c->browser);
    auto* row = new QHBoxLayout;
    c->check = new QCheckBox("Show this page when Strixel starts", c->window.get());
    QObject::connect(c->check, &QCheckBox::clicked, [](bool on) {
        if (sharedController && sharedController->callBack)
            sharedController->callBack(on ? kTicked : kUnticked);
    });
    row->addWidget(c->check);
    row->addStretch();
    auto* close = new QPushButton("Close", c->window.get());
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    QObject::connect(close, &QPushButton::clicked, [] {
        if (sharedController) sharedController->window->hide();
    });
    row->addWidget(close);
    layout->addLayout(row);
    c->callBack = callback;
    sharedController = std::move(c);
}

}  // namespace

std::string helpPageAddress() { return kStartPage; }

int32_t initializeCocoa(HelpCallback callback) {
    // One help window: a second call takes the one already made.
    if (!sharedController)
        buildController(callback);
    else
        sharedController->callBack = callback;
    return 0;
}

int32_t orderWindowFront() {
    if (!sharedController) return 0;
    [[maybe_unused]] FontConfigLeaksIgnored ignored;
    sharedController->window->show();
    sharedController->window->raise();
    sharedController->window->activateWindow();
    return 0;
}

int32_t DisplayCocoaWebWindow(const std::string& address, int32_t keepShowing) {
    if (!sharedController) return 0;
    [[maybe_unused]] FontConfigLeaksIgnored ignored;
    {
        const QSignalBlocker quiet(sharedController->check);
        sharedController->check->setChecked(keepShowing == 1);
    }
    sharedController->browser->setSource(QUrl(QString::fromStdString(address)));
    return 0;
}

int32_t handleCommand(int32_t command) {
    if (command == kTicked) gPrefs.iBrow = 0;
    if (command == kUnticked) gPrefs.iBrow = 1;
    return 0;
}

void showHelpPage() {
    initializeCocoa(handleCommand);
    orderWindowFront();
    DisplayCocoaWebWindow(helpPageAddress(), gPrefs.iBrow == 0 ? 1 : 0);
}

void closeHelpWindow() { sharedController.reset(); }

int32_t CPURLHandlerLaunchURL(const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    bool allowed = false;
    for (const char* scheme : kOutsideSchemes)
        if (parsed.isValid() && parsed.scheme() == scheme) allowed = true;
    if (!allowed) return kRefused;
    return openOutside(parsed.toString(QUrl::FullyEncoded).toStdString()) ? 0 : kRefused;
}

int32_t CPURLHandlerLaunchPDF(const std::string& name) {
    // Only a plain name: the document lies beside the program.
    if (name.empty() || name.find('/') != std::string::npos || name == "..") return kRefused;
    const std::string path = gStartup.appFolder + name;
    if (!gStartup.appFolder.empty() && platform::pathKind(path) == platform::PathKind::file) {
        const QUrl document = QUrl::fromLocalFile(QString::fromStdString(path));
        return openOutside(document.toString().toStdString()) ? 0 : kRefused;
    }
    initializeCocoa(handleCommand);
    orderWindowFront();
    DisplayCocoaWebWindow(kManualPage, gPrefs.iBrow == 0 ? 1 : 0);
    return 0;
}

void setLinkOpener(LinkOpener opener) { gOpener = std::move(opener); }

HelpWindowView helpWindowView() {
    HelpWindowView v;
    if (!sharedController) return v;
    v.open = true;
    v.visible = sharedController->window->isVisible();
    v.checked = sharedController->check->isChecked();
    v.source = sharedController->browser->source().toString().toStdString();
    v.title = sharedController->browser->documentTitle().toStdString();
    return v;
}

void clickHelpCheckBox() {
    if (sharedController) sharedController->check->click();
}

void clickHelpLink(const std::string& href) {
    if (sharedController)
        emit sharedController->browser->anchorClicked(QUrl(QString::fromStdString(href)));
}

void clickHelpCloseButton() {
    if (!sharedController) return;
    for (QPushButton* b : sharedController->window->findChildren<QPushButton*>()) b->click();
}

// The desktop side of the toolbox on Qt 6 Widgets: one top-level widget a
// window, showing the image its port drew, and Qt's input turned into the
// toolbox's calls.
#include "platform/toolbox/qt_glue.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <clocale>
#include <memory>

#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

namespace toolbox {

struct WindowNative {
    class Widget* widget = nullptr;
};

namespace {

// Lives until the process ends: Qt cannot be taken down from static destructors.
QApplication* gApp = nullptr;
int gArgc = 1;
char gArg0[] = "strixel";
char* gArgv[] = {gArg0, nullptr};

// X11's Caps Lock bit in the native modifier state.
constexpr quint32 kX11LockMask = 0x2;

uint16_t modifiersOf(Qt::KeyboardModifiers m, quint32 native) {
    uint16_t r = 0;
    if (m & Qt::ControlModifier) r |= cmdKey;
    if (m & Qt::ShiftModifier) r |= shiftKey;
    if (m & Qt::AltModifier) r |= optionKey;
    if (m & Qt::MetaModifier) r |= controlKey;
    if (QGuiApplication::platformName() == QLatin1String("xcb") && (native & kX11LockMask))
        r |= alphaLock;
    return r;
}

// The US keyboard's key codes of the keys the program looks at.
struct KeyCode {
    int qtKey;
    uint8_t code;
    int32_t specialChar;  // the character of a key that types none, else 0
};
constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Return, 0x24, 13}, {Qt::Key_Enter, 0x4C, 3},     {Qt::Key_Tab, 0x30, 9},
    {Qt::Key_Space, 0x31, 0},   {Qt::Key_Backspace, 0x33, 8}, {Qt::Key_Escape, 0x35, 27},
    {Qt::Key_Left, 0x7B, 28},   {Qt::Key_Right, 0x7C, 29},    {Qt::Key_Up, 0x7E, 30},
    {Qt::Key_Down, 0x7D, 31},   {Qt::Key_Delete, 0x75, 127},  {Qt::Key_Home, 0x73, 1},
    {Qt::Key_End, 0x77, 4},     {Qt::Key_PageUp, 0x74, 11},   {Qt::Key_PageDown, 0x79, 12},
    {Qt::Key_A, 0x00, 0},       {Qt::Key_S, 0x01, 0},         {Qt::Key_D, 0x02, 0},
    {Qt::Key_F, 0x03, 0},       {Qt::Key_H, 0x04, 0},         {Qt::Key_G, 0x05, 0},
    {Qt::Key_Z, 0x06, 0},       {Qt::Key_X, 0x07, 0},         {Qt::Key_C, 0x08, 0},
    {Qt::Key_V, 0x09, 0},       {Qt::Key_B, 0x0B, 0},         {Qt::Key_Q, 0x0C, 0},
    {Qt::Key_W, 0x0D, 0},       {Qt::Key_E, 0x0E, 0},         {Qt::Key_R, 0x0F, 0},
    {Qt::Key_Y, 0x10, 0},       {Qt::Key_T, 0x11, 0},         {Qt::Key_O, 0x1F, 0},
    {Qt::Key_U, 0x20, 0},       {Qt::Key_I, 0x22, 0},         {Qt::Key_P, 0x23, 0},
    {Qt::Key_L, 0x25, 0},       {Qt::Key_J, 0x26, 0},         {Qt::Key_K, 0x28, 0},
    {Qt::Key_N, 0x2D, 0},       {Qt::Key_M, 0x2E, 0},
};

const KeyCode* keyCodeOf(int qtKey) {
    for (const auto& k : kKeyCodes)
        if (k.qtKey == qtKey) return &k;
    return nullptr;
}

// The toolbox's frame around the content, in widget pixels.
QPoint frameOffset(FrameKind f) {
    switch (f) {
        case FrameKind::modal:
            return {kModalFrameWidth, kModalFrameWidth};
        case FrameKind::dragBar:
            return {1, kDragBarHeight};
        case FrameKind::menu:
            return {1, 1};
        case FrameKind::none:
            break;
    }
    return {0, 0};
}

QSize frameExtra(FrameKind f) {
    switch (f) {
        case FrameKind::modal:
            return {2 * kModalFrameWidth, 2 * kModalFrameWidth};
        case FrameKind::dragBar:
            return {2, kDragBarHeight + 1};
        case FrameKind::menu:
            return {3, 3};  // with the shadow
        case FrameKind::none:
            break;
    }
    return {0, 0};
}

}  // namespace

class Widget;
std::vector<Widget*> gWidgets;  // in the order made

class Widget : public QWidget {
  public:
    explicit Widget(const SurfaceSpec& s) : QWidget(nullptr, flagsOf(s)) {
        gWidgets.push_back(this);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        take(s);
    }

    static Qt::WindowFlags flagsOf(const SurfaceSpec& s) {
        Qt::WindowFlags f = Qt::Window;
        if (!s.managed) f |= Qt::FramelessWindowHint;
        if (s.frame == FrameKind::menu || !s.owner)
            f |= Qt::WindowStaysOnTopHint | Qt::Tool;
        else if (s.floating)
            f |= Qt::WindowStaysOnTopHint;
        return f;
    }

    void take(const SurfaceSpec& s) {
        spec = s;
        if (windowTitle() != QString::fromStdString(s.title))
            setWindowTitle(QString::fromStdString(s.title));
        const QPoint off = frameOffset(s.frame);
        const QRect want(QPoint(s.contentOrigin.h - off.x(), s.contentOrigin.v - off.y()),
                         QSize(s.width, s.height) + frameExtra(s.frame));
        if (geometry() != want) {
            placing = true;
            setGeometry(want);
            placing = false;
        }
        update();
    }

    ~Widget() override { std::erase(gWidgets, this); }

    SurfaceSpec spec;
    bool placing = false;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        if (spec.image) {
            cairo_surface_flush(spec.image);
            const QImage img(cairo_image_surface_get_data(spec.image),
                             cairo_image_surface_get_width(spec.image),
                             cairo_image_surface_get_height(spec.image),
                             cairo_image_surface_get_stride(spec.image), QImage::Format_RGB32);
            QImage shown = img;
            shown.setDevicePixelRatio(spec.width > 0 ? double(img.width()) / spec.width : 1.0);
            p.drawImage(frameOffset(spec.frame), shown);
        }
        drawFrame(p);
    }

    void drawFrame(QPainter& p) {
        p.setPen(Qt::black);
        const QRect r = rect();
        switch (spec.frame) {
            case FrameKind::modal:
                p.drawRect(r.adjusted(0, 0, -1, -1));
                p.drawRect(r.adjusted(2, 2, -3, -3));
                break;
            case FrameKind::dragBar: {
                p.drawRect(r.adjusted(0, 0, -1, -1));
                const QRect bar(1, 1, r.width() - 2, kDragBarHeight - 1);
                p.fillRect(bar, QColor(0xDD, 0xDD, 0xDD));
                if (spec.hilited)
                    for (int y = bar.top() + 2; y < bar.bottom(); y += 2)
                        p.drawLine(bar.left() + 2, y, bar.right() - 2, y);
                p.drawLine(0, kDragBarHeight - 1, r.width() - 1, kDragBarHeight - 1);
                break;
            }
            case FrameKind::menu:
                p.drawRect(0, 0, r.width() - 3, r.height() - 3);
                p.drawLine(2, r.height() - 2, r.width() - 1, r.height() - 2);
                p.drawLine(r.width() - 2, 2, r.width() - 2, r.height() - 1);
                break;
            case FrameKind::none:
                break;
        }
    }

    qd::Point globalOf(const QPointF& local) const {
        const QPoint off = frameOffset(spec.frame);
        return {spec.contentOrigin.v + int32_t(local.y()) - off.y(),
                spec.contentOrigin.h + int32_t(local.x()) - off.x()};
    }

  public:
    void mousePressEvent(QMouseEvent* e) override {
        DesktopMouse(true, globalOf(e->position()), modifiersOf(e->modifiers(), 0), false);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        DesktopMouse(false, globalOf(e->position()), modifiersOf(e->modifiers(), 0), false);
    }
    void mouseMoveEvent(QMouseEvent* e) override { DesktopMouseMoved(globalOf(e->position())); }

    void keyEvent(QKeyEvent* e, bool down) {
        const uint16_t mods = modifiersOf(e->modifiers(), e->nativeModifiers());
        const KeyCode* k = keyCodeOf(e->key());
        const uint8_t code = k ? k->code : 0;
        // With Command the letter itself, as the menus' keys are written.
        if ((mods & cmdKey) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z) {
            const char32_t letter =
                (mods & shiftKey) ? U'A' + (e->key() - Qt::Key_A) : U'a' + (e->key() - Qt::Key_A);
            DesktopKey(down, letter, 0, code, mods, e->isAutoRepeat());
            return;
        }
        if (k && k->specialChar) {
            DesktopKey(down, 0, k->specialChar, code, mods, e->isAutoRepeat());
            return;
        }
        const QString text = e->text();
        if (text.isEmpty()) return;  // a modifier alone
        for (const char32_t c : text.toUcs4())
            DesktopKey(down, c, 0, code, mods, e->isAutoRepeat());
    }
    void keyPressEvent(QKeyEvent* e) override { keyEvent(e, true); }
    void keyReleaseEvent(QKeyEvent* e) override { keyEvent(e, false); }

  protected:
    void moveEvent(QMoveEvent*) override {
        if (placing || !spec.owner) return;
        const QPoint off = frameOffset(spec.frame);
        const qd::Point at{geometry().top() + off.y(), geometry().left() + off.x()};
        if (at.v != spec.contentOrigin.v || at.h != spec.contentOrigin.h) {
            spec.contentOrigin = at;
            DesktopWindowMoved(spec.owner, at);
        }
    }
    void resizeEvent(QResizeEvent* e) override {
        if (placing || !spec.owner || !spec.managed) return;
        if (e->size() != QSize(spec.width, spec.height))
            DesktopWindowResized(spec.owner, e->size().width(), e->size().height());
    }
    void closeEvent(QCloseEvent* e) override {
        if (!spec.owner) return;
        e->ignore();  // the program decides, through its close-box handling
        DesktopCloseBox(spec.owner);
    }
};

// ---- Input as the desktop delivers it (tests) ------------------------------------------

namespace {

Qt::KeyboardModifiers qtModifiers(uint16_t m) {
    Qt::KeyboardModifiers q;
    if (m & cmdKey) q |= Qt::ControlModifier;
    if (m & shiftKey) q |= Qt::ShiftModifier;
    if (m & optionKey) q |= Qt::AltModifier;
    if (m & controlKey) q |= Qt::MetaModifier;
    return q;
}

Widget* widgetAt(qd::Point global) {
    const QPoint p(global.h, global.v);
    for (auto it = gWidgets.rbegin(); it != gWidgets.rend(); ++it)
        if (!(*it)->spec.owner && (*it)->isVisible() && (*it)->geometry().contains(p)) return *it;
    WindowRecord* w = nullptr;
    FindWindow(global, &w);
    for (Widget* x : gWidgets)
        if (w && x->spec.owner == w) return x;
    return nullptr;
}

}  // namespace

void SendDesktopMouse(bool down, qd::Point global, uint16_t modifiers) {
    StartDesktop(nullptr, nullptr);
    Widget* w = widgetAt(global);
    if (!w) {
        DesktopMouse(down, global, modifiers, false);
        return;
    }
    const QPointF local(global.h - w->geometry().left(), global.v - w->geometry().top());
    const QPointF screen(global.h, global.v);
    QMouseEvent e(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, local, screen,
                  Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton, qtModifiers(modifiers));
    if (down)
        w->mousePressEvent(&e);
    else
        w->mouseReleaseEvent(&e);
}

void SendDesktopKey(WindowRecord* target, char32_t ch, int32_t specialKey, uint16_t modifiers,
                    bool autoRepeat) {
    StartDesktop(nullptr, nullptr);
    Widget* w = nullptr;
    for (Widget* x : gWidgets)
        if (x->spec.owner == target) w = x;
    if (!w) return;
    int key = specialKey;
    if (!key) {
        if (ch >= U'a' && ch <= U'z')
            key = Qt::Key_A + int(ch - U'a');
        else if (ch >= U'A' && ch <= U'Z')
            key = Qt::Key_A + int(ch - U'A');
        else
            key = Qt::Key_unknown;
    }
    // Qt gives a control character as the text of a key typed with Ctrl.
    QString text = ch ? QString::fromUcs4(&ch, 1) : QString();
    if ((modifiers & cmdKey) && ch >= U'a' && ch <= U'z') text = QChar(char16_t(ch - U'a' + 1));
    QKeyEvent e(QEvent::KeyPress, key, qtModifiers(modifiers), text, autoRepeat);
    w->keyPressEvent(&e);
}

namespace {

QtMessageHandler gQtMessages = nullptr;

// The offscreen platform says for every window shown that it cannot raise it;
// the toolbox's window list keeps the order there.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support raise"))) return;
    if (gQtMessages) gQtMessages(type, context, text);
}

}  // namespace

void StartDesktop(int* argc, char** argv) {
    if (QApplication::instance()) return;
    gQtMessages = qInstallMessageHandler(quietOffscreen);
    gApp = new QApplication(argc ? *argc : gArgc, argc ? argv : gArgv);
    // The application has taken the user's locale; numbers stay in "C", as
    // everywhere in the program: a field written "30,57" would be read as 30.
    // Qt's own widgets go by QLocale, which this leaves alone.
    std::setlocale(LC_NUMERIC, "C");
    QObject::connect(gApp, &QGuiApplication::applicationStateChanged,
                     [](Qt::ApplicationState s) { DesktopFocus(s == Qt::ApplicationActive); });
}

bool DesktopStarted() { return QApplication::instance() != nullptr; }

bool OffscreenDesktop() {
    StartDesktop(nullptr, nullptr);
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

double DesktopPixelRatio() {
    StartDesktop(nullptr, nullptr);
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->devicePixelRatio() : 1.0;
}

qd::Rect DesktopScreen() {
    StartDesktop(nullptr, nullptr);
    const QScreen* s = QGuiApplication::primaryScreen();
    const QRect g = s ? s->geometry() : QRect(0, 0, 800, 600);
    return {g.top(), g.left(), g.top() + g.height(), g.left() + g.width()};
}

WindowNative* CreateNative(const SurfaceSpec& spec) {
    StartDesktop(nullptr, nullptr);
    auto* n = new WindowNative;
    n->widget = new Widget(spec);
    return n;
}

void DestroyNative(WindowNative* n) {
    if (!n) return;
    delete n->widget;
    delete n;
}

void UpdateNative(WindowNative* n, const SurfaceSpec& spec) {
    if (n) n->widget->take(spec);
}

void ShowNative(WindowNative* n, bool show) {
    if (!n) return;
    if (show) {
        n->widget->show();
        if (!OffscreenDesktop()) n->widget->raise();
    } else {
        n->widget->hide();
    }
}

void RaiseNative(WindowNative* n) {
    // The offscreen platform keeps no stacking order: the toolbox's list is it.
    if (!n || !n->widget->isVisible() || OffscreenDesktop()) return;
    n->widget->raise();
    if (n->widget->spec.owner) n->widget->activateWindow();
}

void RepaintNative(WindowNative* n) {
    if (n) n->widget->update();
}

void PumpDesktop(int waitMs) {
    StartDesktop(nullptr, nullptr);
    if (waitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A timer ends the wait when nothing else does.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(waitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void DesktopBeep() {
    if (DesktopStarted() && !OffscreenDesktop()) QApplication::beep();
}

void DesktopSetCursor(int16_t kind) {
    if (!DesktopStarted()) return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (kind) {
        case iBeamCursor:
            shape = Qt::IBeamCursor;
            break;
        case crossCursor:
            shape = Qt::CrossCursor;
            break;
        case handCursor:
            shape = Qt::PointingHandCursor;
            break;
        default:
            break;
    }
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    else
        QGuiApplication::setOverrideCursor(QCursor(shape));
}

}  // namespace toolbox

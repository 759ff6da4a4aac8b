#include "shell/CaptureArea.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QWindow>

#include "platform/Files.h"
#include "project/CaptureFiles.h"
#include "project/Settings.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {

// The pointer drawn into a capture that asks for the cursor: grabs never contain it.
void drawArrowCursor(QPixmap& picture, QPoint tip) {
    const QPolygon arrow({tip, tip + QPoint(0, 17), tip + QPoint(4, 13), tip + QPoint(7, 20),
                          tip + QPoint(9, 19), tip + QPoint(6, 12), tip + QPoint(12, 12)});
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
}

bool globalGrabRefused() {
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

}  // namespace

CaptureArea::CaptureArea(WindowContext& context) : QObject(&context.window), cx_(context) {}

void CaptureArea::bindCommands() {
    cx_.commands.bind("Capture", [this] { setOn(!on_); });
}

void CaptureArea::setOn(bool on) {
    if (QAction* a = cx_.action("Capture")) {
        a->setCheckable(true);
        a->setChecked(on);
    }
    if (on == on_) return;
    on_ = on;
    // The key is watched for the whole program, whichever of its windows has the focus.
    if (on_)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool CaptureArea::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::ShiftModifier &&
            !key->isAutoRepeat()) {
            cx_.guarded([this] { capture(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

CaptureArea::Grab CaptureArea::grabScreen(bool wholeDesktop) {
    Grab g;
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen && !globalGrabRefused()) {
        if (wholeDesktop) {
            g.picture = screen->grabWindow(0);
            g.origin = screen->geometry().topLeft();
        } else {
            QWidget* active = QApplication::activeWindow();
            if (!active) active = &cx_.window;
            const QRect frame = active->frameGeometry();
            const QRect local = frame.translated(-screen->geometry().topLeft());
            g.picture = screen->grabWindow(0, local.x(), local.y(), local.width(), local.height());
            g.origin = frame.topLeft();
        }
    }
    if (g.picture.isNull()) {
        // The desktop keeps other programs' pixels to itself: the own window is all there is.
        g.picture = cx_.window.grab();
        g.origin = cx_.window.mapToGlobal(QPoint(0, 0));
        if (!toldOwnWindowOnly_) {
            toldOwnWindowOnly_ = true;
            cx_.prompts.warn(
                "このデスクトップでは他のウィンドウを取り込めないため、このプログラムの"
                "ウィンドウだけをキャプチャします。");
        }
    }
    return g;
}

std::string CaptureArea::capture() {
    const auto& s = cx_.ws.settings;
    const char* S = project::kSystemSection;
    Grab g = grabScreen(s.readBool(S, "CaptureActive", true));
    if (g.picture.isNull()) throw std::runtime_error("画面をキャプチャできませんでした。");
    if (s.readBool(S, "CaptureCursor", false)) {
        const qreal ratio = g.picture.devicePixelRatio();
        drawArrowCursor(g.picture, (QCursor::pos() - g.origin) * ratio);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!g.picture.toImage().save(&buffer, "BMP"))
        throw std::runtime_error("キャプチャ画像を作成できませんでした。");
    const std::string file = project::nextCaptureFile(platform::appFolder());
    platform::writeFileAtomic(file, std::string_view(bytes.constData(), bytes.size()));
    cx_.setMessage(QStringLiteral("キャプチャ画像を保存しました: %1").arg(fromUtf8(file)));
    const std::string program = s.readString(S, "CaptureEx", project::kDefaultCaptureProgram);
    if (!project::openCapture(file, program))
        cx_.prompts.showError("キャプチャ画像を開くプログラムを起動できません: " + program);
    return file;
}

}  // namespace tarnbook::shell

#include "shell/graphics_widget.h"

#include "calc/session.h"
#include "shell/dialog_texts.h"
#include "shell/qpainter_canvas.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace kora {
namespace {

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

std::optional<MouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::left;
    case Qt::RightButton:
        return MouseButton::right;
    case Qt::MiddleButton:
        return MouseButton::middle;
    default:
        return std::nullopt;
    }
}

} // namespace

GraphicsWidget::GraphicsWidget(DisplayList& list, QWidget* parent)
    : QWidget(parent), list_(list), control_(list) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    list_.host = this;
    setMinimumSize(160, 120);
}

void GraphicsWidget::Invalidate() {
    update();
}

void GraphicsWidget::SetWaitCursor() {
    if (waitCursors_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void GraphicsWidget::SetOldCursor() {
    if (waitCursors_ == 0) return;
    if (--waitCursors_ == 0) QApplication::restoreOverrideCursor();
}

bool GraphicsWidget::ServiceMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !list_.session().AbortFlag;
}

// Waits while the window's events are served, so Esc reaches the view control meanwhile.
static void ServeEventsFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(std::clamp(milliseconds, 0, 10000), &loop, &QEventLoop::quit);
    loop.exec();
}

bool GraphicsWidget::Sleep(int milliseconds) {
    ServeEventsFor(milliseconds);
    return !list_.session().AbortFlag;
}

void GraphicsWidget::ShowFrame(int pauseMs) {
    repaint();
    ServeEventsFor(pauseMs);
}

// The step dialog: "+" (default) shows the next frame, "++" plays the rest without stopping.
bool GraphicsWidget::AnimationStep() {
    QDialog step(this);
    step.setWindowTitle(QString::fromUtf8(dialog_text::kStepCaption.data()));
    auto* layout = new QHBoxLayout(&step);
    auto* next = new QPushButton("+", &step);
    auto* rest = new QPushButton("++", &step);
    next->setDefault(true);
    layout->addWidget(next);
    layout->addWidget(rest);
    connect(next, &QPushButton::clicked, &step, &QDialog::accept);
    connect(rest, &QPushButton::clicked, &step, &QDialog::reject);
    return step.exec() == QDialog::Accepted;
}

GraphicsWidget::Placement GraphicsWidget::Place() const {
    const double A = list_.settings.A + 1.0, B = list_.settings.B + 1.0;
    Placement p;
    p.scale = std::min(width() / A, height() / B);
    if (!(p.scale > 0)) p.scale = 1;
    p.left = (width() - A * p.scale) / 2;
    p.top = (height() - B * p.scale) / 2;
    return p;
}

QPoint GraphicsWidget::ToReference(QPointF position) const {
    const Placement p = Place();
    return QPointF((position.x() - p.left) / p.scale, (position.y() - p.top) / p.scale).toPoint();
}

void GraphicsWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(BackgroundColour(list_.settings.backgroundColour)));
    const Placement p = Place();
    painter.translate(p.left, p.top);
    painter.scale(p.scale, p.scale);
    painter.setClipRect(QRect(0, 0, list_.settings.A + 1, list_.settings.B + 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterCanvas canvas(painter);
    Replay(list_, canvas, this);
    if (control_.RubberBandActive()) {
        const DeviceRect r = control_.RubberBand();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(r.x1, r.y1), QPoint(r.x2, r.y2)).normalized());
    }
}

int GraphicsWidget::VirtualKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
        return -1;
    case Qt::Key_Escape:
        return kKeyEscape;
    case Qt::Key_F5:
        return kKeyF5;
    case Qt::Key_PageUp:
        return kKeyPageUp;
    case Qt::Key_PageDown:
        return kKeyPageDown;
    case Qt::Key_Left:
        return kKeyLeft;
    case Qt::Key_Up:
        return kKeyUp;
    case Qt::Key_Right:
        return kKeyRight;
    case Qt::Key_Down:
        return kKeyDown;
    // The keypad's + and -; laptops without a keypad have + and - on the main keys.
    case Qt::Key_Plus:
        return kKeyNumpadPlus;
    case Qt::Key_Minus:
        return kKeyNumpadMinus;
    default:
        return 0;
    }
}

void GraphicsWidget::keyPressEvent(QKeyEvent* event) {
    const int key = VirtualKey(event->key());
    if (key < 0) return QWidget::keyPressEvent(event);
    if (control_.FormKeyDown(key)) update();
}

void GraphicsWidget::mousePressEvent(QMouseEvent* event) {
    const auto button = ButtonOf(event->button());
    if (!button) return;
    const QPoint p = ToReference(event->position());
    if (control_.FormMouseDown(*button, p.x(), p.y())) update();
}

void GraphicsWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = ToReference(event->position());
    if (control_.FormMouseMove(p.x(), p.y())) update();
}

void GraphicsWidget::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = ButtonOf(event->button());
    if (!button) return;
    const QPoint p = ToReference(event->position());
    control_.FormMouseUp(*button, p.x(), p.y(), list_.settings.A + 1, list_.settings.B + 1);
    update(); // the rubber band is gone, zoomed or not
}

// A double click arrives in place of the second press: the mark is set first, so the press
// that follows fits the drawing to the window.
void GraphicsWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    control_.FormDblClick();
    mousePressEvent(event);
}

} // namespace kora

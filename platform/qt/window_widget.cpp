// A top-level window of the desktop window system.
#include "platform/qt/window_widget.h"

#include <QCloseEvent>
#include <QPainter>

namespace veltra {

WindowWidget::WindowWidget(bool systemFrame)
    : QWidget(nullptr, systemFrame ? Qt::Window : Qt::Window | Qt::FramelessWindowHint) {
    // Controls are placed at fixed positions: the window keeps its design size.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void WindowWidget::SetBackground(const QPixmap& picture) {
    background = picture;
    update();
}

void WindowWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    if (!background.isNull()) painter.drawPixmap(0, 0, background);
    if (!painted) {
        painted = true;
        emit FirstPaint();
    }
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The program decides: it destroys the window or ends itself.
    event->ignore();
    emit CloseRequested();
}

bool WindowWidget::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && !activated) {
        activated = true;
        emit FirstActivation();
    }
    return result;
}

}  // namespace veltra

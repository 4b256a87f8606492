// The draggable title of the desktop window system.
#include "platform/qt/title_label.h"

#include <QMouseEvent>
#include <QWindow>

namespace veltra {

TitleLabel::TitleLabel(QWidget* parent) : QLabel(parent) {}

void TitleLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    // The window manager's own move keeps snapping and screen edges working; where
    // there is none (or it declines), the window follows the mouse here.
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging = true;
    pressGlobal = event->globalPosition().toPoint();
    windowStart = window()->pos();
}

void TitleLabel::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    window()->move(windowStart + event->globalPosition().toPoint() - pressGlobal);
}

void TitleLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging && event->button() == Qt::LeftButton) {
        dragging = false;
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace veltra

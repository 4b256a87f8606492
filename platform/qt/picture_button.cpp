// A picture button of the desktop window system.
#include "platform/qt/picture_button.h"

#include <QPainter>

namespace veltra {

PictureButton::PictureButton(const QPixmap& image, QWidget* parent)
    : QAbstractButton(parent), picture(image) {
    setFocusPolicy(Qt::NoFocus);
}

QSize PictureButton::sizeHint() const {
    return picture.isNull() ? QSize(28, 33) : picture.size();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture);
    if (isDown()) {
        painter.fillRect(rect(), QColor(0, 0, 0, 60));
    } else if (hovered) {
        painter.fillRect(rect(), QColor(255, 255, 255, 45));
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace veltra

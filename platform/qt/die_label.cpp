// A die face of the desktop window system.
#include "platform/qt/die_label.h"

#include <QPainter>

namespace veltra {

DieLabel::DieLabel(QWidget* parent) : QLabel(parent) {
    QFont face = font();
    face.setBold(true);
    face.setPixelSize(19);
    setFont(face);
}

void DieLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QColor(0xd8, 0xc9, 0xb0));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(square, 5, 5);
    const QString number = text();
    QColor ink(0x22, 0x22, 0x22);
    if (number == "1" || number == "4") ink = QColor(0xc8, 0x14, 0x1e);
    if (number == "0" || number.isEmpty()) ink = QColor(0xb8, 0xa8, 0x90);
    painter.setPen(ink);
    painter.drawText(rect(), Qt::AlignCenter, number);
}

}  // namespace veltra

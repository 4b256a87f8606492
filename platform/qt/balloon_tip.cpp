// The balloon tip of the desktop window system.
#include "platform/qt/balloon_tip.h"

#include <QPainter>
#include <QPainterPath>

namespace veltra {
namespace {

constexpr int kPaddingX = 10;
constexpr int kPaddingY = 6;
constexpr int kStemHeight = 9;
constexpr int kStemHalfWidth = 8;
constexpr qreal kRadius = 6;

}  // namespace

BalloonTip::BalloonTip(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    hideTimer.setSingleShot(true);
    connect(&hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void BalloonTip::Pop(const QString& message, const QPoint& point) {
    text = message;
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text);
    const int width = textSize.width() + 2 * kPaddingX;
    const int height = textSize.height() + 2 * kPaddingY + kStemHeight;
    setGeometry(point.x() - width / 2, point.y() - height, width, height);
    // Windows without a compositor cannot be translucent: the shape is cut instead.
    setMask(QRegion(Outline().toFillPolygon().toPolygon()));
    show();
    raise();
    update();
    hideTimer.start(kShownMs);
}

QPoint BalloonTip::StemTip() const {
    return QPoint(x() + width() / 2, y() + height());
}

QPainterPath BalloonTip::Outline() const {
    const QRectF body(0, 0, width(), height() - kStemHeight);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    const qreal middle = width() / 2.0;
    QPainterPath stem;
    stem.moveTo(middle - kStemHalfWidth, body.bottom() - 1);
    stem.lineTo(middle, height());
    stem.lineTo(middle + kStemHalfWidth, body.bottom() - 1);
    stem.closeSubpath();
    return path.united(stem);
}

void BalloonTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x9a, 0x7b, 0x45), 1));
    painter.setBrush(QColor(0xff, 0xfa, 0xe6));
    painter.drawPath(Outline().translated(0.5, 0.5));
    painter.setPen(QColor(0x3b, 0x24, 0x18));
    painter.drawText(QRect(0, 0, width(), height() - kStemHeight), Qt::AlignCenter, text);
}

void BalloonTip::mousePressEvent(QMouseEvent*) {
    hideTimer.stop();
    hide();
}

}  // namespace veltra

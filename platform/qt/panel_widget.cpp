// A panel of the desktop window system.
#include "platform/qt/panel_widget.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/window_widget.h"

namespace veltra {

PanelWidget::PanelWidget(QWidget* parent) : QWidget(parent) {}

void PanelWidget::SetColour(const QColor& value) {
    colour = value;
    update();
}

void PanelWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (colour.isValid()) {
        painter.fillRect(event->rect(), colour);
        return;
    }
    const auto* owner = qobject_cast<const WindowWidget*>(window());
    if (owner && !owner->Background().isNull()) {
        const QPoint offset = mapTo(window(), QPoint(0, 0));
        painter.drawPixmap(event->rect(), owner->Background(), event->rect().translated(offset));
    } else {
        painter.fillRect(event->rect(), palette().window());
    }
}

}  // namespace veltra

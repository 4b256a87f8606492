// The title on a frameless window's own title band: dragging it with the left
// button moves the window (through the window manager when it offers that).
#pragma once

#include <QLabel>

namespace veltra {

class TitleLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TitleLabel(QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool dragging = false;
    QPoint pressGlobal;
    QPoint windowStart;
};

}  // namespace veltra

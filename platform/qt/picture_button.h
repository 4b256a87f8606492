// A button drawn as a picture, lighter under the mouse and darker while pressed.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace veltra {

class PictureButton : public QAbstractButton {
    Q_OBJECT
  public:
    PictureButton(const QPixmap& picture, QWidget* parent);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap picture;
    bool hovered = false;
};

}  // namespace veltra

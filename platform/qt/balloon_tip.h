// A balloon tip: a small note whose stem points at a screen point, gone again after
// a few seconds.
#pragma once

#include <QTimer>
#include <QWidget>

namespace veltra {

class BalloonTip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShownMs = 3000;

    explicit BalloonTip(QWidget* owner);

    // Shows text with the stem's tip at the screen point; an earlier tip is replaced.
    void Pop(const QString& text, const QPoint& point);
    const QString& Text() const { return text; }
    // The screen point the stem points at.
    QPoint StemTip() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPainterPath Outline() const;

    QString text;
    QTimer hideTimer;
};

}  // namespace veltra

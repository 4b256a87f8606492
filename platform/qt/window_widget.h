// A top-level window built from a description: paints its background picture,
// turns the user's close request into a signal (the program decides), and reports
// its first paint and first activation.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace veltra {

class WindowWidget : public QWidget {
    Q_OBJECT
  public:
    explicit WindowWidget(bool systemFrame);

    void SetBackground(const QPixmap& picture);
    const QPixmap& Background() const { return background; }
    bool Painted() const { return painted; }

  signals:
    void CloseRequested();
    void FirstPaint();
    void FirstActivation();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QPixmap background;
    bool painted = false;
    bool activated = false;
};

}  // namespace veltra

// A panel: holds controls and hides what lies under it. Without a colour of its own
// it shows the window's background picture at its place, so it blends in.
#pragma once

#include <QColor>
#include <QWidget>

namespace veltra {

class PanelWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PanelWidget(QWidget* parent);
    void SetColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour;  // invalid: the window's background shows
};

}  // namespace veltra

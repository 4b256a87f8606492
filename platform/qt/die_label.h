// One drawn number shown as a die face: the number large on a white rounded
// square, red for one and four as on a Chinese die, dimmed while it is 0 (no draw).
#pragma once

#include <QLabel>

namespace veltra {

class DieLabel : public QLabel {
    Q_OBJECT
  public:
    explicit DieLabel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace veltra

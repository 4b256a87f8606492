// An edit box with a spin adjuster. The text is free (text that is no number reads
// as 0 to the program); the arrows step the number within the spin range. Leaving
// the box is reported.
#pragma once

#include <QAbstractSpinBox>

namespace veltra {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
  public:
    explicit SpinEdit(QWidget* parent);

    QString Text() const;
    void SetText(const QString& text);
    void SetRange(int minimum, int maximum);
    void stepBy(int steps) override;

  signals:
    void FocusLost();

  protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int Number() const;

    int minimum = 0;
    int maximum = 100;
};

}  // namespace veltra

// The plan box: multi-line text the user can select and copy but never change.
// Every typed character is put to the program, which answers what the box does
// with it (3: copy the selection, 1: select all, anything else: nothing). The
// right button's release is offered to the program before any context menu.
#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace veltra {

class PlanBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit PlanBox(QWidget* parent);

    // Replaces the text; the caret goes to the start.
    void SetPlanText(const QString& text);
    // Puts the caret before the character at position; a negative position puts it
    // after the last character and keeps it in view, also once the box is shown.
    void PlaceCaret(int position);

    // Answers a typed character code with the one to act on (0: none). Unset: the
    // character itself.
    std::function<int(int)> characterFilter;
    // The right button was released over the box: true when that was consumed.
    std::function<bool()> rightButtonUp;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool caretAtEnd = false;
};

}  // namespace veltra

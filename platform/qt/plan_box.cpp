// The plan box of the desktop window system.
#include "platform/qt/plan_box.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>

namespace veltra {
namespace {

constexpr int kSelectAll = 1;  // Ctrl+A
constexpr int kCopy = 3;       // Ctrl+C

// The characters a key press types, as the codes a text box receives: Ctrl with a
// letter gives the control codes 1 to 26. Keys that type nothing (arrows, page keys,
// Home, End, Tab) give none and keep their usual meaning.
QList<int> TypedCharacters(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return {};
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z) {
        return {key - Qt::Key_A + 1};
    }
    QList<int> codes;
    for (const char32_t c : event->text().toUcs4()) codes.append(static_cast<int>(c));
    return codes;
}

}  // namespace

PlanBox::PlanBox(QWidget* parent) : QPlainTextEdit(parent) {
    // Read-only to the user in every way (keys, paste, drops, input methods); the
    // program's filter decides about typed characters on top of that.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
}

void PlanBox::SetPlanText(const QString& text) {
    caretAtEnd = false;
    setPlainText(text);
}

void PlanBox::PlaceCaret(int position) {
    QTextCursor cursor = textCursor();
    caretAtEnd = position < 0;
    if (caretAtEnd) {
        cursor.movePosition(QTextCursor::End);
    } else {
        cursor.setPosition(std::min(position, document()->characterCount() - 1));
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

void PlanBox::keyPressEvent(QKeyEvent* event) {
    const QList<int> typed = TypedCharacters(event);
    if (typed.isEmpty()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    for (const int code : typed) {
        const int answer = characterFilter ? characterFilter(code) : code;
        if (answer == kCopy) copy();
        if (answer == kSelectAll) selectAll();
    }
}

void PlanBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QPlainTextEdit::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (rightButtonUp && rightButtonUp()) return;
    QMenu* menu = createStandardContextMenu(event->position().toPoint());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPosition().toPoint());
}

void PlanBox::contextMenuEvent(QContextMenuEvent* event) {
    // The menu belongs to the right button's release (above), and only when the
    // program leaves that to the box.
    event->accept();
}

void PlanBox::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    if (caretAtEnd) ensureCursorVisible();
}

void PlanBox::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    if (caretAtEnd) ensureCursorVisible();
}

}  // namespace veltra

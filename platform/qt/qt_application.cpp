// The desktop look shared by every window.
#include "platform/qt/qt_application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QStyle>

namespace veltra {

void PrepareQtApplication(std::string_view displayName) {
    QApplication::setApplicationDisplayName(
        QString::fromUtf8(displayName.data(), static_cast<qsizetype>(displayName.size())));
    // The program ends when its main window is destroyed, not when windows close.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(QIcon(":/artwork/icon.png"));

    // The first of these that is installed draws the text; fontconfig fills any gaps.
    QFont font = QApplication::font();
    font.setFamilies(
        {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "Source Han Sans SC", "Droid Sans Fallback"});
    font.setPixelSize(12);
    QApplication::setFont(font);

    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, QColor(0xf6, 0xef, 0xe3));
    palette.setColor(QPalette::WindowText, QColor(0x3b, 0x24, 0x18));
    palette.setColor(QPalette::Button, QColor(0xf4, 0xe8, 0xd4));
    palette.setColor(QPalette::ButtonText, QColor(0x3b, 0x24, 0x18));
    palette.setColor(QPalette::Base, QColor(0xff, 0xfd, 0xf9));
    palette.setColor(QPalette::AlternateBase, QColor(0xfa, 0xf3, 0xe7));
    palette.setColor(QPalette::Text, QColor(0x2b, 0x1a, 0x10));
    palette.setColor(QPalette::Highlight, QColor(0xa0, 0x22, 0x2a));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xfa, 0xe6));
    palette.setColor(QPalette::ToolTipText, QColor(0x3b, 0x24, 0x18));
    QApplication::setPalette(palette);
}

}  // namespace veltra

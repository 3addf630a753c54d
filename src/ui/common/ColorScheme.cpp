#include "ui/common/ColorScheme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace {

QPalette &desktopPalette()
{
    // Taken before the first change, so that "automatic" can go back to it.
    static QPalette palette = QApplication::palette();
    return palette;
}

} // namespace

QPalette ColorScheme::lightPalette()
{
    static QStyle *const fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    return fusion ? fusion->standardPalette() : QPalette(Qt::white);
}

QPalette ColorScheme::darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2e);
    const QColor base(0x1e, 0x1e, 0x20);
    const QColor text(0xec, 0xec, 0xee);
    const QColor highlight(0x4a, 0x86, 0xc8);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText,
                     QColor(0xa8, 0xa8, 0xae)); // readable captions over the picture
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x7a, 0xb4, 0xf0));
    palette.setColor(QPalette::LinkVisited, QColor(0xb4, 0x9a, 0xf0));
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4e));
    palette.setColor(QPalette::Midlight, QColor(0x3e, 0x3e, 0x42));
    palette.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x33));
    palette.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1a));
    palette.setColor(QPalette::Shadow, Qt::black);
    const QColor disabled(0x80, 0x80, 0x86);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x55));
    return palette;
}

bool ColorScheme::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

void ColorScheme::apply(UserDefaults::Mode mode)
{
    const QPalette desktop = desktopPalette();
    switch (mode) {
    case UserDefaults::Mode::light:
        QApplication::setPalette(lightPalette());
        return;
    case UserDefaults::Mode::dark:
        QApplication::setPalette(darkPalette());
        return;
    case UserDefaults::Mode::automatic:
        break;
    }
    QApplication::setPalette(desktop);
}

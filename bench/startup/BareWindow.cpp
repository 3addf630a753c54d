// The yardstick of the start-up benchmark: a bare Qt Widgets window of the same size, in the
// same style, timed the same way as lumisera.
#include "app/StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QWidget window;
    window.resize(900, 640);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Live for today, tomorrow is not a given."), &window));
    window.show();
    StartupProbe::watch(&window, QCoreApplication::arguments());
    return QApplication::exec();
}

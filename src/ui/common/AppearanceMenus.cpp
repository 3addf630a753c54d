#include "ui/common/AppearanceMenus.h"

#include "core/BackgroundImage.h"
#include "quote/WidgetTimelines.h"
#include "storage/StoragePool.h"

#include <QMenu>
#include <QThreadPool>

ColorSchemePicker::ColorSchemePicker(QWidget *parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("colorSchemePicker"));
    setAccessibleName(tr("Color scheme"));
    setToolTip(tr("Color scheme"));
    addItem(tr("Automatic"), int(UserDefaults::Mode::automatic));
    addItem(tr("Light"), int(UserDefaults::Mode::light));
    addItem(tr("Dark"), int(UserDefaults::Mode::dark));
    connect(this, &QComboBox::activated, this, [this] { Q_EMIT modeChosen(mode()); });
}

UserDefaults::Mode ColorSchemePicker::mode() const
{
    return UserDefaults::Mode(currentData().toInt());
}

void ColorSchemePicker::setMode(UserDefaults::Mode mode)
{
    setCurrentIndex(findData(int(mode)));
}

BackgroundImageMenu::BackgroundImageMenu(QWidget *parent) : QPushButton(tr("Background Image"), parent)
{
    setObjectName(QStringLiteral("backgroundImageMenu"));
    auto *menu = new QMenu(this);
    menu->setAccessibleName(text());
    for (const BackgroundImage &picture : BackgroundImage::all()) {
        menu->addAction(tr(qPrintable(picture.name)),
                        [this, image = picture.image] { Q_EMIT imageChosen(choose(image, false)); });
    }
    menu->addSeparator();
    menu->addAction(tr("None"), [this] { Q_EMIT imageChosen(choose(QStringLiteral("none"), false)); });
    menu->addAction(tr("Rotate Daily"), [this] { Q_EMIT imageChosen(choose(QString(), true)); });
    setMenu(menu);
}

QString BackgroundImageMenu::choose(const QString &image, bool rotate)
{
    const QString chosen = rotate ? UserDefaults::nextBackgroundImage().image : image;
    UserDefaults::setValue(UserDefaults::Key::backgroundImage, chosen);
    UserDefaults::setValue(UserDefaults::Key::rotateImage, rotate);
    StoragePool::shared()->start([] { reloadWidgetTimelines(); });
    return chosen;
}

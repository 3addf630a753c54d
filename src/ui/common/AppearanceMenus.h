#pragma once

#include "core/UserDefaults.h"

#include <QComboBox>
#include <QPushButton>

// The colour-scheme picker: "Automatic", "Light", "Dark". It only reports the choice; the main
// screen stores and applies it.
class ColorSchemePicker : public QComboBox
{
    Q_OBJECT
public:
    explicit ColorSchemePicker(QWidget *parent = nullptr);

    UserDefaults::Mode mode() const;
    void setMode(UserDefaults::Mode mode);

Q_SIGNALS:
    void modeChosen(UserDefaults::Mode mode);
};

// The background-picture menu: every picture by name, "None", and "Rotate Daily". A choice is
// stored at once ("backgroundImage", "rotateImage") and the desktop widgets are told.
class BackgroundImageMenu : public QPushButton
{
    Q_OBJECT
public:
    explicit BackgroundImageMenu(QWidget *parent = nullptr);

    // Stores a choice: a picture's image name, "none", or rotation to the next picture.
    static QString choose(const QString &image, bool rotate);

Q_SIGNALS:
    void imageChosen(const QString &image);
};

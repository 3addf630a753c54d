#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;

// One setting: a check box and, under it, its help text in small secondary type.
class SettingsToggle : public QWidget
{
    Q_OBJECT
public:
    SettingsToggle(const QString &text, const QString &help, QWidget *parent = nullptr);

    QCheckBox *checkBox() const { return m_checkBox; }
    QLabel *helpLabel() const { return m_help; }
    // Help text in the small secondary type every setting uses.
    static QLabel *makeHelp(const QString &help);

private:
    QCheckBox *m_checkBox;
    QLabel *m_help;
};

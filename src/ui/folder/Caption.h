#pragma once

#include <QLabel>

// The explanatory text under a heading: wrapped, a little smaller, never rich text (folder
// names go into some of them).
class Caption : public QLabel
{
    Q_OBJECT
public:
    explicit Caption(const QString &text, QWidget *parent = nullptr);

protected:
    // A dialog sizes itself by width-blind hints, which leave wrapped lines cut off; asking for the
    // wrapped height makes it grow.
    void resizeEvent(QResizeEvent *event) override;
};

#pragma once

#include <QToolButton>

// The borderless "Tap to Add Folder" button of an empty root listing; pressing it asks for the
// new-folder dialog (presentView).
class AddFolder : public QToolButton
{
    Q_OBJECT
public:
    // insetAdjustment: how far the listing moves the button down, past what it shows above it.
    explicit AddFolder(double insetAdjustment = 0, QWidget *parent = nullptr);

    double insetAdjustment() const { return m_insetAdjustment; }

Q_SIGNALS:
    void presentView();

private:
    double m_insetAdjustment;
};

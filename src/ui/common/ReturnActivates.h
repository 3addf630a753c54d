#pragma once

class QAbstractButton;

// Return and Enter press the button as Space does. For a button that stands alone on its page
// (the unlock line, a folder's lock, "Tap to Add Folder"), where a keyboard user reaches for Return;
// Qt's buttons take Return only as a dialog's default.
class ReturnActivates
{
public:
    ReturnActivates() = delete;

    static void install(QAbstractButton *button);
};

#pragma once

#include "ui/about/DonationPage.h" // the main screen offers both pages
#include "ui/common/Screen.h"

class AboutBrowser;

// The about page, shown over the whole window; it closes itself when the application goes to
// the background.
class AboutView : public Screen
{
    Q_OBJECT
public:
    explicit AboutView(QWidget *parent = nullptr);

    AboutBrowser *browser() const { return m_browser; }

private:
    AboutBrowser *m_browser;
};

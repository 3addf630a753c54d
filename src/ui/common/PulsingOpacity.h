#pragma once

class QWidget;

// Makes a widget's opacity breathe between 1.0 and 0.3, one second each way, for as long as
// it lives; or leaves it alone when not enabled.
class PulsingOpacity
{
public:
    PulsingOpacity() = delete;

    static void apply(QWidget *widget, bool enabled);
};

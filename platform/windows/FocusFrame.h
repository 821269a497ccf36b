#pragma once
// The mark of the keyboard focus on a control that the style gives none (the frame stepper, a
// movie's picture): a frame in the highlight colour along its edges, inside a margin the control
// leaves free of children.
class QWidget;

class FocusFrame
{
public:
    static constexpr int kWidth = 2;

    // Paints the frame on widget when it has the focus; from its paintEvent.
    static void Paint(QWidget& widget);
};

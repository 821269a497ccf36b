#pragma once
// Makes a dialog template's controls on a widget: the widget takes the template's font and
// size, and every control is placed at its rectangle converted with that font's dialog base
// units (no Qt layouts, so that code moving controls in dialog units sees what it expects).
// Both a modal dialog and a form view inside a main window are built this way.
//
// Controls are made by class name. "Button", "Static" and "Edit" are built in; other classes
// ("SysListView32", ...) are registered by the code that provides them. A template naming a
// class that nobody registered is not built, and the error says which class and template.
#include "platform/core/CString.h"
#include "platform/windows/DialogTemplate.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

class DialogTemplateBuilder
{
public:
    DialogTemplateBuilder() = delete;

    // Makes the control for item as a child of parent (which owns it), placed at rect (the
    // item's rectangle in pixels).
    using ControlFactory =
        std::function<QWidget*(const DialogItem& item, const QRect& rect, QWidget* parent)>;
    // Told the id of a template button that was clicked.
    using CommandSink = std::function<void(UINT id)>;

    // Registers (or replaces) the factory of a window class, compared without case.
    static void RegisterControlClass(const char* className, ControlFactory factory);

    // Gives host the template's font and client size and makes its controls, in template order
    // (which is the tab order). Returns an empty text on success, else what went wrong, with
    // host left without controls.
    static CString Build(const DialogTemplate& dialog, QWidget* host, CommandSink onCommand);

    // The font a template asks for: the Windows dialog fonts stand for the desktop's own.
    static QFont DialogFont(const DialogTemplate& dialog);
    // Average character width and height of font: the size of 4 by 8 dialog units.
    static QSize BaseUnits(const QFont& font);
    // rect in dialog units of widget's dialog font to pixels; false when widget was not built
    // from a template.
    static bool MapDialogRect(const QWidget* widget, QRect& rect);
    // The id the template gave widget; 0 for a widget not made from a template.
    static int ControlId(const QWidget* widget);
    // Gives a control made in code the id a template would have given it.
    static void SetControlId(QWidget* widget, int id);
    // Moves and sizes host's controls by what host has grown beyond its template's size, as
    // their items' growth says.
    static void Arrange(QWidget* host);
};

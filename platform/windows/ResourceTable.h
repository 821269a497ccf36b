#pragma once
// The program's string table, dialog templates and icons as the windows and the framework find
// them. They live above the platform, and the program registers them here once at start-up,
// before it makes any window. A lookup before that is a fault of the program's start-up: it ends
// the program with a message that names what was not registered.
#include "platform/windows/DialogTemplate.h"

#include <QIcon>

class ResourceTable
{
public:
    struct Tables {
        const char* (*findString)(UINT id);
        const DialogTemplate* (*findDialogTemplate)(UINT id);
        QIcon (*loadIcon)(UINT id);
    };

    ResourceTable() = delete;

    // Takes the program's tables; null members are not registered.
    static void Register(const Tables& tables);

    // The text of id, or null when the table has none.
    static const char* FindString(UINT id);
    // The template of id, or null when there is none.
    static const DialogTemplate* FindDialogTemplate(UINT id);
    // Icon id, or a null icon when there is none.
    static QIcon LoadIcon(UINT id);

    // lookup, when it was registered; else the end of the program, with what (the table's name)
    // in the message.
    template <typename Lookup> static Lookup Registered(Lookup lookup, const char* what)
    {
        if (!lookup)
            Unregistered(what);
        return lookup;
    }

private:
    [[noreturn]] static void Unregistered(const char* what);
};

#include "show/ClipListKeys.h"

#include "platform/windows/CButton.h"

#include <QKeyEvent>

ClipListKeys::ClipListKeys(CWnd& list, std::vector<Binding> bindings)
    : m_bindings(std::move(bindings))
{
    if (QWidget* widget = list.GetSafeHwnd())
        widget->installEventFilter(this);
}

bool ClipListKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool control = key->modifiers() & Qt::ControlModifier;
    for (const Binding& binding : m_bindings) {
        if (binding.key != key->key() || binding.control != control)
            continue;
        if (binding.button->IsWindowEnabled())
            binding.command();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

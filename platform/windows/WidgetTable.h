#pragma once
// A value kept for each widget, for as long as the widget lives. Used where a widget property
// would do but is read too often: a property lookup walks the widget's class meta data by name
// first, and list notifications ask several times per row change.
#include <QObject>
#include <QWidget>

#include <unordered_map>

template <typename T> class WidgetTable
{
public:
    void Set(const QWidget* widget, T value)
    {
        if (m_values.insert_or_assign(widget, value).second)
            QObject::connect(widget, &QObject::destroyed,
                             [this, widget] { m_values.erase(widget); });
    }
    void Remove(const QWidget* widget) { m_values.erase(widget); }
    // fallback when the widget has no value.
    T Get(const QWidget* widget, T fallback) const
    {
        const auto it = m_values.find(widget);
        return it == m_values.end() ? fallback : it->second;
    }

private:
    std::unordered_map<const QWidget*, T> m_values;
};

#pragma once
// The header window of a report list: holds the columns (title, format, width) and tells the
// list about clicks, divider drags and double clicks. A CHeaderCtrl attached to it may take
// over the double click.
#include "platform/core/CString.h"

#include <QHeaderView>

class QStandardItemModel;

class CHeaderCtrlWidget : public QHeaderView
{
    Q_OBJECT
public:
    explicit CHeaderCtrlWidget(QWidget* parent);

    int Count() const;
    void InsertColumn(int index, const CString& title, int format, int width);
    void DeleteColumn(int index);
    CString Title(int index) const;
    void SetTitle(int index, const CString& title);
    int Format(int index) const;
    void SetFormat(int index, int format);
    int Width(int index) const { return sectionSize(index); }
    void SetWidth(int index, int width);
    // Sum of all column widths.
    int TotalWidth() const { return length(); }

    // What a double click at point does when nobody takes it over.
    void DefaultDoubleClick(const QPoint& point);

signals:
    // The user finished dragging the divider right of column.
    void TrackEnded(int column);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QStandardItemModel* m_columns;
    int m_tracked = -1;
};

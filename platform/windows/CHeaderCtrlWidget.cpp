#include "platform/windows/CHeaderCtrlWidget.h"

#include "platform/windows/CHeaderCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStandardItemModel>

namespace
{
constexpr int kFormatRole = Qt::UserRole;

Qt::Alignment AlignmentOf(int format)
{
    // Right wins over centre when a format has both bits, as the list draws it.
    if (format & HDF_RIGHT)
        return Qt::AlignRight | Qt::AlignVCenter;
    if (format & HDF_CENTER)
        return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}
} // namespace

CHeaderCtrlWidget::CHeaderCtrlWidget(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_columns(new QStandardItemModel(0, 0, this))
{
    setModel(m_columns);
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
    setSectionResizeMode(QHeaderView::Interactive);
    connect(this, &QHeaderView::sectionResized, this, [this](int column) {
        if (QApplication::mouseButtons() & Qt::LeftButton)
            m_tracked = column;
    });
}

int CHeaderCtrlWidget::Count() const
{
    return m_columns->columnCount();
}

void CHeaderCtrlWidget::InsertColumn(int index, const CString& title, int format, int width)
{
    m_columns->insertColumns(index, 1);
    SetTitle(index, title);
    SetFormat(index, format);
    SetWidth(index, width);
}

void CHeaderCtrlWidget::DeleteColumn(int index)
{
    m_columns->removeColumns(index, 1);
}

CString CHeaderCtrlWidget::Title(int index) const
{
    return CString(m_columns->headerData(index, Qt::Horizontal).toString().toStdString());
}

void CHeaderCtrlWidget::SetTitle(int index, const CString& title)
{
    m_columns->setHeaderData(index, Qt::Horizontal, QString::fromUtf8((const char*)title));
}

int CHeaderCtrlWidget::Format(int index) const
{
    return m_columns->headerData(index, Qt::Horizontal, kFormatRole).toInt();
}

void CHeaderCtrlWidget::SetFormat(int index, int format)
{
    m_columns->setHeaderData(index, Qt::Horizontal, format, kFormatRole);
    m_columns->setHeaderData(index, Qt::Horizontal, int(AlignmentOf(format)),
                             Qt::TextAlignmentRole);
}

void CHeaderCtrlWidget::SetWidth(int index, int width)
{
    resizeSection(index, std::max(0, width));
}

void CHeaderCtrlWidget::DefaultDoubleClick(const QPoint& point)
{
    QMouseEvent event(QEvent::MouseButtonDblClick, point, mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QHeaderView::mouseDoubleClickEvent(&event);
}

void CHeaderCtrlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (auto* header = dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(this)))
        header->OnLButtonDblClk(MK_LBUTTON, CPoint(point.x(), point.y()));
    else
        DefaultDoubleClick(point);
}

void CHeaderCtrlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QHeaderView::mouseReleaseEvent(event);
    const int tracked = std::exchange(m_tracked, -1);
    if (tracked >= 0)
        emit TrackEnded(tracked);
}

#include "platform/windows/CSpinButtonCtrl.h"

#include "platform/windows/DialogTemplateBuilder.h"
#include "platform/windows/FocusFrame.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>

namespace
{
class SpinButtonWidget : public QWidget
{
public:
    SpinButtonWidget(DWORD style, QWidget* parent)
        : QWidget(parent), m_arrowKeys(style & UDS_ARROWKEYS)
    {
        const bool horizontal = style & UDS_HORZ;
        auto* layout =
            new QBoxLayout(horizontal ? QBoxLayout::LeftToRight : QBoxLayout::BottomToTop, this);
        layout->setContentsMargins(FocusFrame::kWidth, FocusFrame::kWidth, FocusFrame::kWidth,
                                   FocusFrame::kWidth);
        layout->setSpacing(0);
        AddArrow(layout, horizontal ? Qt::LeftArrow : Qt::DownArrow, -1);
        AddArrow(layout, horizontal ? Qt::RightArrow : Qt::UpArrow, +1);
        setFocusPolicy(Qt::StrongFocus);
    }

    // towardUpper: +1 for the right or up arrow, -1 for the left or down one.
    void Step(int towardUpper)
    {
        const int delta = m_upper >= m_lower ? towardUpper : -towardUpper;
        NMUPDOWN change{
            {this, WPARAM(DialogTemplateBuilder::ControlId(this)), UDN_DELTAPOS}, m_pos, delta};
        LRESULT refused = 0;
        if (CWnd* owner = CWnd::FromHandlePermanent(parentWidget()))
            owner->OnNotify(change.hdr.idFrom, LPARAM(&change.hdr), &refused);
        if (!refused)
            SetPos(m_pos + change.iDelta);
    }

    int SetPos(int pos)
    {
        const int previous = m_pos;
        m_pos = std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
        return previous;
    }

    int m_pos = 0;
    int m_lower = 100;
    int m_upper = 0;

protected:
    void paintEvent(QPaintEvent*) override { FocusFrame::Paint(*this); }

    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if (m_arrowKeys && (key == Qt::Key_Right || key == Qt::Key_Up))
            Step(+1);
        else if (m_arrowKeys && (key == Qt::Key_Left || key == Qt::Key_Down))
            Step(-1);
        else
            QWidget::keyPressEvent(event);
    }

private:
    void AddArrow(QBoxLayout* layout, Qt::ArrowType arrow, int towardUpper)
    {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, towardUpper] {
            setFocus(Qt::MouseFocusReason);
            Step(towardUpper);
        });
        layout->addWidget(button);
    }

    bool m_arrowKeys;
};

SpinButtonWidget* Spin(const CWnd& wnd)
{
    return dynamic_cast<SpinButtonWidget*>(wnd.GetSafeHwnd());
}
} // namespace

int CSpinButtonCtrl::GetPos() const
{
    const SpinButtonWidget* spin = Spin(*this);
    return spin ? spin->m_pos : 0;
}

int CSpinButtonCtrl::SetPos(int pos)
{
    SpinButtonWidget* spin = Spin(*this);
    return spin ? spin->SetPos(pos) : 0;
}

void CSpinButtonCtrl::SetRange(int lower, int upper)
{
    if (SpinButtonWidget* spin = Spin(*this)) {
        spin->m_lower = lower;
        spin->m_upper = upper;
        spin->SetPos(spin->m_pos);
    }
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    const SpinButtonWidget* spin = Spin(*this);
    lower = spin ? spin->m_lower : 0;
    upper = spin ? spin->m_upper : 0;
}

QWidget* CSpinButtonCtrl::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    auto* spin = new SpinButtonWidget(item.style, parent);
    spin->setGeometry(rect);
    return spin;
}

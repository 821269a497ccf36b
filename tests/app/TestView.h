#pragma once
// A view for the shell's tests: an empty window that records what its document tells it.
#include "platform/windows/CView.h"
#include "platform/windows/CWnd.h"

#include <QWidget>
#include <vector>

class TestView : public CWnd, public CView
{
public:
    BOOL Create(CWnd* parent) override
    {
        auto* window = new QWidget(parent->GetSafeHwnd());
        window->setMinimumSize(200, 100);
        return Attach(window);
    }
    void OnUpdate(CView*, LPARAM hint, CObject*) override { m_hints.push_back(hint); }
    void OnInitialUpdate() override { ++m_initialUpdates; }

    std::vector<LPARAM> m_hints;
    int m_initialUpdates = 0;
};

#pragma once
// A MyListCtrl in a shown top-level window, with three columns (Name 100, Place 150, Size 80
// right-aligned) and a font 11 pixels high, whose parent records what the list tells it.
#include "controls/MyListCtrl.h"
#include "controls/MyListCtrlLparam.h"

#include <QAbstractScrollArea>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

class ListParent : public CWnd
{
public:
    BOOL OnNotify(WPARAM, LPARAM header, LRESULT* result) override
    {
        m_codes.push_back(reinterpret_cast<NMHDR*>(header)->code);
        *result = 0;
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM, LPARAM) override
    {
        m_posted.push_back(message);
        return 0;
    }

    std::vector<UINT> m_codes;
    std::vector<UINT> m_posted;
};

class MyListCtrlTestHost : public ::testing::Test
{
protected:
    void Make(DWORD style, const std::vector<std::vector<std::string>>& rows = {}, int height = 200)
    {
        m_host.resize(400, height);
        ASSERT_TRUE(m_parent.Attach(&m_host));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, 400, height),
                                  &m_parent, 1000));
        QFont font = m_list.GetSafeHwnd()->font();
        font.setPixelSize(11);
        m_list.GetSafeHwnd()->setFont(font);
        m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
        m_list.InsertColumn(1, "Place", LVCFMT_LEFT, 150);
        m_list.InsertColumn(2, "Size", LVCFMT_RIGHT, 80);
        for (const std::vector<std::string>& cells : rows)
            AddRow(cells, 0);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    int AddRow(const std::vector<std::string>& cells, LPARAM data)
    {
        const int row = m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, m_list.GetItemCount(),
                                          cells.empty() ? "" : cells[0].c_str(), 0, 0, 0, data);
        for (std::size_t column = 1; column < cells.size(); ++column)
            m_list.SetItemText(row, int(column), cells[column].c_str());
        return row;
    }

    // Numbered rows "row0", "row1", ...
    static std::vector<std::vector<std::string>> Numbered(int count)
    {
        std::vector<std::vector<std::string>> rows;
        for (int row = 0; row < count; ++row)
            rows.push_back({"row" + std::to_string(row)});
        return rows;
    }

    QAbstractScrollArea* Widget()
    {
        return static_cast<QAbstractScrollArea*>(m_list.GetSafeHwnd());
    }

    std::vector<int> Selected() const
    {
        std::vector<int> rows;
        for (int row = m_list.GetSelectedItem(-1); row != -1; row = m_list.GetSelectedItem(row))
            rows.push_back(row);
        return rows;
    }

    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            texts.push_back(std::string((const char*)m_list.GetItemTextWorks(row, column)));
        return texts;
    }

    QWidget m_host;
    ListParent m_parent;
    MyListCtrl m_list;
};

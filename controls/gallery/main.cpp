// The library's controls in one window, to try them by hand: an owner-drawn button, the report
// list, dressed static texts flashing their text and their background, masked edits for a date
// and a phone number, and a hyperlink.
//
// controls-gallery [--grab FILE]: with --grab, saves a picture of the window to FILE and quits.
#include "controls/MyButton.h"
#include "controls/MyEdit.h"
#include "controls/MyHyperlink.h"
#include "controls/MyListCtrl.h"
#include "controls/MyStatic.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace
{
constexpr UINT InsertIcon = 116;

// Controls in code are placed by hand, as a dialog template would place them.
template <typename Widget> Widget* Place(QWidget* parent, int x, int y, int cx, int cy)
{
    auto* widget = new Widget(parent);
    widget->setGeometry(x, y, cx, cy);
    return widget;
}

void Caption(QWidget* parent, int y, const char* text)
{
    Place<QLabel>(parent, 12, y, 140, 22)->setText(text);
}

class Gallery
{
public:
    Gallery()
    {
        m_window.setWindowTitle("Reelmix controls");
        m_window.resize(520, 330);
        m_parent.Attach(&m_window);
        AddButton();
        AddList();
        AddStatics();
        AddEdits();
        AddLink();
    }

    QWidget& Window() { return m_window; }

private:
    void AddButton()
    {
        Caption(&m_window, 12, "MyButton");
        auto* push = Place<QPushButton>(&m_window, 160, 10, 130, 26);
        push->setText("&Insert Clips");
        m_button.Attach(push);
        m_button.SetIcon(InsertIcon, 16, 16);
        m_button.SetColorTab(RGB(0, 160, 0));
    }

    void AddList()
    {
        Caption(&m_window, 50, "MyListCtrl");
        m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED,
                      CRect(160, 48, 500, 148), &m_parent, 1000);
        m_list.InsertColumn(0, "Clip", LVCFMT_LEFT, 140);
        m_list.InsertColumn(1, "Start", LVCFMT_RIGHT, 90);
        m_list.InsertColumn(2, "Length", LVCFMT_RIGHT, 90);
        const char* rows[][3] = {{"harbour.avi", "0:00:12", "0:00:30"},
                                 {"market.mpg", "0:01:05", "0:00:45"},
                                 {"sunset.wmv", "", ""}};
        for (const auto& cells : rows) {
            const int row = m_list.InsertItem(m_list.GetItemCount(), cells[0]);
            m_list.SetItemText(row, 1, cells[1]);
            m_list.SetItemText(row, 2, cells[2]);
        }
    }

    void AddStatics()
    {
        Caption(&m_window, 164, "MyStatic");
        m_flashText.Attach(Place<QLabel>(&m_window, 160, 160, 160, 26));
        m_flashText.SetText("Flashing text")
            .SetFontSize(16)
            .SetFontBold(true)
            .SetTextColor(RGB(160, 0, 0))
            .SetSunken(true)
            .FlashText(true, -1, 500);
        auto* background = Place<QLabel>(&m_window, 330, 160, 170, 26);
        CWnd::SetInitialStyle(background, SS_CENTER | SS_NOTIFY);
        m_flashBackground.Attach(background);
        m_flashBackground.SetText("Click to stop")
            .SetBkColor(RGB(255, 230, 120))
            .SetFontItalic(true)
            .SetBorder(true)
            .FlashBackground(true, -1, 400);
    }

    void AddEdits()
    {
        Caption(&m_window, 212, "MyEdit: date");
        m_date.Attach(Place<QLineEdit>(&m_window, 160, 210, 120, 24));
        m_date.ApplyInputMask("00/00/0000", "__/__/____", "__/__/____", "0123456789");
        m_date.SetFocusFrame(true);
        Caption(&m_window, 250, "MyEdit: phone");
        m_phone.Attach(Place<QLineEdit>(&m_window, 160, 248, 160, 24));
        m_phone.ApplyInputMask("(000) 000-0000", "(___) ___-____", "(___) ___-____", "0123456789");
        m_phone.SetEditFont("Monospace", 10);
    }

    void AddLink()
    {
        Caption(&m_window, 292, "MyHyperlink");
        auto* link = Place<QLabel>(&m_window, 160, 290, 260, 22);
        link->setText("https://www.qt.io/");
        m_link.Attach(link);
        m_link.SetURL("https://www.qt.io/");
        m_link.SetOptions(MyHyperlink::HoverColor | MyHyperlink::FocusOnButtonDown);
    }

    QWidget m_window;
    CWnd m_parent;
    MyButton m_button;
    MyListCtrl m_list;
    MyStatic m_flashText;
    MyStatic m_flashBackground;
    MyEdit m_date;
    MyEdit m_phone;
    MyHyperlink m_link;
};
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Gallery gallery;
    gallery.Window().show();
    const QStringList args = QApplication::arguments();
    const qsizetype grab = args.indexOf("--grab");
    if (grab > 0 && grab + 1 < args.size()) {
        // After a few flash ticks, so that the picture shows the controls as they run.
        QTimer::singleShot(1100, [&] {
            gallery.Window().grab().save(args[grab + 1]);
            QApplication::quit();
        });
    }
    return app.exec();
}

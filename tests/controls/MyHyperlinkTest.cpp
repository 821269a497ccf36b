#include "controls/MyHyperlink.h"
#include "platform/process/CommandLine.h"
#include "platform/process/WinExec.h"
#include "util/MyRegistry.h"

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
constexpr const char* kUrl = "https://a.example/";

// A hyperlink on a white window, with a launcher that records command lines: the desktop's
// opener answers shellResult, any other program launchResult.
struct Link {
    explicit Link(UINT options, UINT shellResult = 42, UINT launchResult = 33)
    {
        window.resize(300, 80);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Qt::white);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        label = new QLabel("Follow me", &window);
        label->setGeometry(10, 10, 100, 24);
        link.Attach(label);
        link.SetURL(kUrl);
        link.SetOptions(options);
        previous = SetProgramLauncher([=, this](const CString& line, UINT) {
            launched.push_back(line.Str());
            return line.Str().rfind("xdg-open ", 0) == 0 ? shellResult : launchResult;
        });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~Link() { SetProgramLauncher(previous); }
    bool Shows(COLORREF colour)
    {
        const QImage image = window.grab(label->geometry()).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (ToQColor(colour).rgb() & 0xFFFFFF))
                    return true;
        return false;
    }
    QWidget window;
    QLabel* label;
    MyHyperlink link;
    std::vector<std::string> launched;
    ProgramLauncher previous;
};

void RegisterBrowser(const char* command)
{
    MyRegistry(HKEY_CLASSES_ROOT, ".htm", true).SaveValueString("", "webpage");
    MyRegistry(HKEY_CLASSES_ROOT, "webpage\\shell\\open\\command", true)
        .SaveValueString("", command);
}
} // namespace

TEST(MyHyperlink, HoverColourFollowsTheMouseAndReleasesTheCapture)
{
    Link l(MyHyperlink::HoverColor);
    EXPECT_TRUE(l.Shows(MyHyperlink::LinkColor));
    EXPECT_EQ(l.window.grab(l.label->geometry()).toImage().pixel(0, 0), QColor(Qt::white).rgb())
        << "the null brush lets the window show through";
    QTest::mouseMove(l.label, QPoint(20, 10));
    EXPECT_TRUE(l.Shows(MyHyperlink::HoverColorValue));
    EXPECT_EQ(CWnd::GetCapture(), &l.link);
    QTest::mouseMove(&l.window, QPoint(250, 70));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_TRUE(l.Shows(MyHyperlink::LinkColor));
}

TEST(MyHyperlink, OpensThroughTheShellOrTheRegisteredBrowser)
{
    struct Case {
        const char* registered; // null: no .htm class
        UINT shell, launch;
        const char* url;
        std::vector<std::string> launched; // after the opener
        bool visited;
    };
    const Case cases[] = {
        {nullptr, 42, 33, kUrl, {}, true},
        {nullptr, 2, 33, kUrl, {}, false},
        {"C:\\W\\b.exe \"%1\"", 2, 33, kUrl, {"C:\\W\\b.exe  https://a.example/"}, true},
        {"browser %1 -new", 2, 33, kUrl, {"browser  https://a.example/"}, true},
        {"browser -nohome", 2, 33, kUrl, {"browser -nohome https://a.example/"}, true},
        {"browser -nohome", 2, 2, kUrl, {"browser -nohome https://a.example/"}, false},
        {"b \"%1\"",
         2,
         33,
         "https://a.example/a b\" -x",
         {"b  \"https://a.example/a b\\\" -x\""},
         true},
    };
    for (const Case& c : cases) {
        MyRegistry(HKEY_CLASSES_ROOT, "", false).DeleteKey(".htm");
        if (c.registered)
            RegisterBrowser(c.registered);
        Link l(0, c.shell, c.launch);
        l.link.SetURL(c.url);
        l.link.FollowLink();
        ASSERT_FALSE(l.launched.empty());
        EXPECT_EQ(std::vector<std::string>(l.launched.begin() + 1, l.launched.end()), c.launched)
            << c.url;
        EXPECT_EQ(l.Shows(MyHyperlink::VisitedColor), c.visited)
            << (c.registered ? c.registered : "none");
        if (c.launched.size() == 1) {
            EXPECT_EQ(CommandLineToArgv(c.launched[0]).back(), c.url);
        }
    }
}

TEST(MyHyperlink, LongRegisteredValuesFailAndLongCommandsStayWhole)
{
    const std::string program(300, 'p');
    MyRegistry(HKEY_CLASSES_ROOT, "long", true).SaveValueString("", program.c_str());
    CString value = "unchanged";
    EXPECT_EQ(MyHyperlink::ReadKeyDefaultValue(HKEY_CLASSES_ROOT, "long", value), ERROR_MORE_DATA);
    EXPECT_EQ(value, "unchanged");
    const std::string url = "https://a.example/" + std::string(400, 'u');
    EXPECT_EQ(MyHyperlink::CommandForUrl(program.substr(0, 250).c_str(), url.c_str()).Str(),
              program.substr(0, 250) + " " + url);
}

TEST(MyHyperlink, KeysAndButtonsThatFollowTheLink)
{
    struct Case {
        UINT options;
        void (*act)(QWidget*);
        std::size_t opened;
    };
    const Case cases[] = {
        {0, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Space); }, 1},
        {0, [](QWidget* w) { QTest::keyClick(w, Qt::Key_A); }, 0},
        {0, [](QWidget* w) { QTest::mousePress(w, Qt::LeftButton); }, 0},
        {0, [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }, 1},
        {MyHyperlink::FollowOnButtonDown, [](QWidget* w) { QTest::mousePress(w, Qt::LeftButton); },
         1},
        {MyHyperlink::FollowOnButtonDown, [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); },
         2},
    };
    for (const Case& c : cases) {
        Link l(c.options);
        l.label->setFocus();
        c.act(l.label);
        EXPECT_EQ(l.launched.size(), c.opened) << c.options;
    }
}

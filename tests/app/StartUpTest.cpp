#include "tests/app/AppFixture.h"

#include "platform/framework/WindowPlacement.h"
#include "platform/registry/WinReg.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <climits>
#include <cstring>

using namespace testfiles;

namespace
{
std::string PlacementBytes()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, CMainFrame::s_registryKey, 0, KEY_READ, &key) != 0)
        return {};
    std::string bytes(100, '\0');
    DWORD size = DWORD(bytes.size());
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, "WindowPlacement", nullptr, &type,
                                         reinterpret_cast<BYTE*>(bytes.data()), &size);
    RegCloseKey(key);
    EXPECT_EQ(type, REG_BINARY);
    return result == 0 ? bytes.substr(0, size) : std::string();
}

void StoreValue(DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, CMainFrame::s_registryKey, 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              0);
    RegSetValueExA(key, "WindowPlacement", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   DWORD(bytes.size()));
    RegCloseKey(key);
}

std::string Record(UINT showCmd, RECT normal)
{
    WINDOWPLACEMENT placement{44, 0, showCmd, {-1, -1}, {-1, -1}, normal};
    return std::string(reinterpret_cast<const char*>(&placement), sizeof placement);
}

bool KeyExists(const char* path, HKEY root = HKEY_CURRENT_USER)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != 0)
        return false;
    RegCloseKey(key);
    return true;
}
} // namespace

TEST_F(AppFixture, FirstStartShowsANewShowAndCreatesNoFrameKey)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->GetSafeHwnd()->isVisible());
    EXPECT_EQ(Frame()->GetSafeHwnd()->windowTitle(), "Untitled - Reelmix");
    EXPECT_FALSE(KeyExists(CMainFrame::s_registryKey));
    std::vector<std::string> extensions;
    for (POSITION pos = m_app->m_movieExtensions.GetHeadPosition(); pos;)
        extensions.push_back(m_app->m_movieExtensions.GetNext(pos).Str());
    EXPECT_EQ(extensions, (std::vector<std::string>{"avi", "mov", "qt", "mpg", "mpeg", "mpe", "mpv",
                                                    "m1v", "mp2", "mpv2", "mpu"}));
    EXPECT_EQ(Frame()->m_wndStatusBar.GetPaneText(0), "Ready");
    Stop();
    EXPECT_EQ(PlacementBytes().size(), 44u);
}

TEST_F(AppFixture, MaximisedPlacementComesBackMaximisedAndRestoresToItsRectangle)
{
    ASSERT_TRUE(Start());
    QWidget* window = Frame()->GetSafeHwnd();
    window->setGeometry(40, 30, 700, 450);
    QApplication::processEvents();
    const QRect frame = window->frameGeometry();
    window->showMaximized();
    QApplication::processEvents();
    Stop();
    const std::string bytes = PlacementBytes();
    ASSERT_EQ(bytes.size(), 44u);
    WINDOWPLACEMENT stored;
    std::memcpy(&stored, bytes.data(), sizeof stored);
    EXPECT_EQ(stored.length, 44u);
    EXPECT_EQ(stored.showCmd, 3u);
    const QPoint origin = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    EXPECT_EQ(stored.rcNormalPosition.left + origin.x(), frame.left());
    EXPECT_EQ(stored.rcNormalPosition.top + origin.y(), frame.top());
    EXPECT_EQ(stored.rcNormalPosition.right - stored.rcNormalPosition.left, 700);
    EXPECT_EQ(stored.rcNormalPosition.bottom - stored.rcNormalPosition.top, 450);

    ASSERT_TRUE(Start());
    window = Frame()->GetSafeHwnd();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(window->isVisible());
    window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(window->geometry(), QRect(40, 30, 700, 450));
    Stop();
}

TEST_F(AppFixture, BadStoredPlacementsStillBringTheWindowUpVisibleAndUsable)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* what;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"off every screen", REG_BINARY, Record(1, {90000, 90000, 90700, 90450})},
        {"far above and left", REG_BINARY, Record(1, {-5000, -5000, -4300, -4550})},
        {"extreme edges", REG_BINARY, Record(1, {INT_MIN, INT_MIN, INT_MAX, INT_MAX})},
        {"inverted", REG_BINARY, Record(1, {500, 400, 10, 10})},
        {"unknown show state", REG_BINARY, Record(77, {10, 10, 700, 450})},
        {"hidden", REG_BINARY, Record(0, {10, 10, 700, 450})},
        {"too short", REG_BINARY, Record(1, {10, 10, 700, 450}).substr(0, 20)},
        {"too long", REG_BINARY, Record(1, {10, 10, 700, 450}) + "xyz"},
        {"wrong type", REG_SZ, "not a placement"},
        {"wrong type, right length", REG_DWORD, std::string(44, '\xFF')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StoreValue(c.type, c.bytes);
        ASSERT_TRUE(Start());
        const QWidget* window = Frame()->GetSafeHwnd();
        EXPECT_TRUE(window->isVisible());
        const QRect common = window->frameGeometry().intersected(area);
        EXPECT_GE(common.width(), 64);
        EXPECT_GE(common.height(), 32);
        EXPECT_GE(window->frameGeometry().width(), CMainFrame::s_minWidth);
        EXPECT_GE(window->frameGeometry().height(), CMainFrame::s_minHeight);
        m_app.reset();
    }
}

TEST_F(AppFixture, MinimumSizeHolds)
{
    ASSERT_TRUE(Start());
    QWidget* window = Frame()->GetSafeHwnd();
    window->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().size(),
              QSize(CMainFrame::s_minWidth, CMainFrame::s_minHeight));
    window->resize(700, 400);
    EXPECT_EQ(window->size(), QSize(700, 400));
}

TEST_F(AppFixture, ShowOnTheCommandLineOpensOrEndsTheProgramWithTheFrameworksMessage)
{
    const std::string good = NewPath("good.rlx");
    WriteBytes(good, Hex("01 00 00 00 02") + "\\m" + Hex("05") + "a.avi" +
                         Hex("00 00 00 00 00 00 F0 BF 00 00 00 00 00 00 F0 BF"));
    ASSERT_TRUE(Start({good}));
    EXPECT_EQ(Doc()->m_clips.GetCount(), 1);
    const std::string name = good.substr(good.rfind('/') + 1);
    EXPECT_EQ(Frame()->GetSafeHwnd()->windowTitle().toStdString(), name + " - Reelmix");
    EXPECT_TRUE(m_messages.empty());
    Stop();

    const std::string corrupt = NewPath("corrupt.rlx");
    WriteBytes(corrupt, Hex("02 00 00 00 09") + "C:");
    const std::string missing = NewPath("missing.rlx");
    for (const std::string& path : {corrupt, missing}) {
        SCOPED_TRACE(path);
        m_messages.clear();
        MyRegistry(HKEY_CLASSES_ROOT, "", false).DeleteKey("Reelmix.Document");
        EXPECT_FALSE(Start({path}));
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_NE(m_messages[0].Str().find(path), std::string::npos) << m_messages[0];
        EXPECT_EQ(Frame(), nullptr);
        EXPECT_EQ(m_app->ExitInstance(), 1);
        EXPECT_TRUE(KeyExists("Reelmix.Document\\shell\\open\\command", HKEY_CLASSES_ROOT))
            << "a start that ends at once has registered the file type all the same";
        m_app.reset();
    }
}

#include "player/PlayerWindow.h"

#include "platform/media/MpvPlayer.h"
#include "platform/media/MpvVideoWidget.h"
#include "player/ShowPlayer.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QStackedLayout>
#include <algorithm>

namespace
{
constexpr int NoticeMilliseconds = 6000;
constexpr double SeekSeconds = 5.0;
constexpr qsizetype NoticeLines = 4;
} // namespace

PlayerWindow::PlayerWindow(std::array<MpvPlayer*, 2> players, ShowPlayer* show, QWidget* parent)
    : QWidget(parent), m_show(show), m_notice(new QLabel(this))
{
    auto* videos = new QStackedLayout(this);
    videos->setContentsMargins(0, 0, 0, 0);
    for (MpvPlayer* player : players) {
        auto* video = new MpvVideoWidget(player, this);
        video->setFocusPolicy(Qt::NoFocus);
        videos->addWidget(video);
    }
    connect(show, &ShowPlayer::PlayerShown, this, [this, videos](int player) {
        videos->setCurrentIndex(player);
        m_notice->raise();
    });
    m_notice->setStyleSheet(
        "QLabel { background: rgba(0, 0, 0, 170); color: white; padding: 6px; }");
    m_notice->setWordWrap(true);
    m_notice->hide();
    m_noticeTimer.setSingleShot(true);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] {
        m_notice->hide();
        if (m_finished)
            close();
    });
    connect(show, &ShowPlayer::Notice, this, &PlayerWindow::ShowNotice);
    connect(show, &ShowPlayer::TitleChanged, this, &QWidget::setWindowTitle);
    connect(show, &ShowPlayer::Finished, this, &PlayerWindow::OnFinished);
    setFocusPolicy(Qt::StrongFocus);
    resize(800, 450);
}

void PlayerWindow::ShowNotice(const QString& text)
{
    // Only the latest few: a show may skip thousands of entries in one go.
    QStringList lines = m_notice->isVisible() ? m_notice->text().split('\n') : QStringList();
    lines.append(text);
    m_notice->setText(lines.mid(std::max<qsizetype>(0, lines.size() - NoticeLines)).join('\n'));
    m_notice->show();
    m_notice->raise();
    PlaceNotice();
    m_noticeTimer.start(NoticeMilliseconds);
}

void PlayerWindow::PlaceNotice()
{
    const int height = m_notice->heightForWidth(width());
    m_notice->setGeometry(0, this->height() - height, width(), height);
}

// Lets a last notice be read before the window goes.
void PlayerWindow::OnFinished()
{
    m_finished = true;
    if (!m_noticeTimer.isActive())
        close();
}

void PlayerWindow::ToggleFullScreen()
{
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void PlayerWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        m_show->TogglePause();
        break;
    case Qt::Key_Left:
        m_show->SeekBy(-SeekSeconds);
        break;
    case Qt::Key_Right:
        m_show->SeekBy(SeekSeconds);
        break;
    case Qt::Key_F:
        ToggleFullScreen();
        break;
    case Qt::Key_Escape:
        if (isFullScreen())
            ToggleFullScreen();
        else
            close();
        break;
    case Qt::Key_Q:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PlayerWindow::mouseDoubleClickEvent(QMouseEvent*)
{
    ToggleFullScreen();
}

void PlayerWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_notice->isVisible())
        PlaceNotice();
}

void PlayerWindow::closeEvent(QCloseEvent* event)
{
    m_show->Quit();
    event->accept();
}

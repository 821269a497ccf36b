// The show player in its window, in this process.
#include "player/ShowPlayer.h"
#include "platform/media/MpvPlayer.h"
#include "player/PlayerWindow.h"

#include <QTest>
#include <gtest/gtest.h>

// The window closes itself when the show ends, which once counted as the user quitting: a
// playlist with nothing to play then ended without a word.
TEST(ShowPlayer, AShowWithNothingToPlaySaysSoAfterItsWindowCloses)
{
    MpvPlayer first(MpvPlayer::Output::Null, ShowPlayer::PlayerOptions());
    MpvPlayer second(MpvPlayer::Output::Null, ShowPlayer::PlayerOptions());
    ShowPlayer show({&first, &second}, AsxPlaylist(), "/", false);
    PlayerWindow window({&first, &second}, &show);
    window.show();
    show.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
    EXPECT_TRUE(show.FoundNothingToPlay());
}

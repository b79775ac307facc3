#include "common/FilePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QUrl>

#include <gtest/gtest.h>

// The game plays its music with Qt's player: every track must really start
// playing on this machine (GStreamer's AAC decoder), headless or not.
TEST(MusicPlayback, EveryTrackPlaysInQtsPlayer)
{
  const QFileInfoList tracks = QDir(GetMusicPath()).entryInfoList({"*.aac"}, QDir::Files);
  ASSERT_GE(tracks.size(), 3) << GetMusicPath().toStdString();
  for (const QFileInfo& track : tracks)
  {
    SCOPED_TRACE(track.fileName().toStdString());
    QMediaPlayer player;
    player.setMedia(QUrl::fromLocalFile(track.absoluteFilePath()));
    player.play();
    QElapsedTimer clock;
    clock.start();
    while (player.position() < 200 && player.error() == QMediaPlayer::NoError && clock.elapsed() < 20000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(player.error(), QMediaPlayer::NoError) << player.errorString().toStdString();
    EXPECT_EQ(player.state(), QMediaPlayer::PlayingState);
    EXPECT_GE(player.position(), 200);
    player.stop();
  }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Scores that learn from listening, through Audacious and mpv with its MPRIS
// script on a private bus: 20-second songs seeked with the player's own
// SetPosition to each side of the rule's boundaries, its own Pause and Next,
// and its Seeked signal taken over what the looks saw before it.
#include "player/mpris/mpris_fixture.h"
#include "support/listening_rig.h"

namespace jukora::testing::mpris {
namespace {

class ListeningMprisTest : public MprisLinkTest {
 protected:
  ListeningMprisTest() {
    // Every Seeked the player tells is recorded on its way to the watch.
    link.on_seeked = [this, watch = link.on_seeked](std::chrono::milliseconds at) {
      told.push_back(at);
      watch(at);
    };
  }

  QDBusMessage player_call(const char* method) const {
    return QDBusMessage::createMethodCall(bus_name(), "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player",
                                          method);
  }
  QVariantMap metadata() const {
    QDBusMessage ask =
        QDBusMessage::createMethodCall(bus_name(), "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "Get");
    ask << "org.mpris.MediaPlayer2.Player"
        << "Metadata";
    const QVariant value = QDBusConnection::sessionBus()
                               .call(ask, QDBus::Block, 1000)
                               .arguments()
                               .value(0)
                               .value<QDBusVariant>()
                               .variant();
    return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
  }
  void call(const QDBusMessage& message) { QDBusConnection::sessionBus().call(message, QDBus::Block, 1000); }

  bool seek(double seconds) {
    const auto target = std::chrono::milliseconds(std::lround(seconds * 1000));
    QDBusMessage set = player_call("SetPosition");
    set << QVariant::fromValue(metadata().value("mpris:trackid").value<QDBusObjectPath>())
        << qlonglong(target.count() * 1000);
    told.clear();
    call(set);
    return eventually(
        [&] {
          for (auto at : told)
            if (at >= target - 100ms && at < target + 900ms) return true;
          return false;
        },
        1s);
  }

  // How many songs Audacious's playlist holds.
  static int listed() {
    FILE* out = popen("audtool playlist-length", "r");
    int songs = 0;
    if (out && fscanf(out, "%d", &songs) != 1) songs = 0;
    if (out) pclose(out);
    return songs;
  }

  std::vector<std::chrono::milliseconds> told;
  ListeningRig listening{
      *this, link, temp.file("songs"),
      ListeningHands{
          .seek = [this](double at) { return seek(at); },
          .pause = [this] { call(player_call("Pause")); },
          .next =
              [this](const std::string& song) {
                const int before = audacious() ? listed() : 0;
                user_plays(song, true);
                // Audacious takes the song in its own time: Next once it has.
                if (audacious()) eventually([&] { return listed() > before; });
                call(player_call("Next"));
              },
          .eventually = [](const auto& done, std::chrono::milliseconds limit) { return eventually(done, limit); },
      }};
};

TEST_P(ListeningMprisTest, SeeksToEachBoundaryThenSkipNextPauseStopOrTheEnd) {
  start_player();
  for (const ListeningPlay& play : kBoundaryPlays) listening.play(play);
  // Told of the seek back, the play goes on from there: no new play begins
  // with the song's end reached before it.
  listening.play({18.5, Then::kBackThenSkip, "4"});
}

const auto kByStem = [](const auto& info) { return info.param; };
INSTANTIATE_TEST_SUITE_P(Players, ListeningMprisTest, ::testing::Values("audacious", "mpv"), kByStem);

}  // namespace
}  // namespace jukora::testing::mpris

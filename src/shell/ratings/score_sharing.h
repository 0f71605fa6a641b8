// SPDX-License-Identifier: GPL-3.0-or-later
// Jukora's scores going out to the other programs the user shares them with
// (Preferences, "Share scores"): every score change told through SongEvents
// reaches MPD's rating sticker and the files' own tags, each on a worker of
// its own, and what they have to tell the user comes back as notifications.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "ratings/score_mirrors.h"

namespace jukora {

class Desktop;
class ScoreSink;
class SettingsStore;
class SongEvents;

class ScoreSharing : public QObject {
 public:
  // Listens on `events`, which must tell nothing once this has gone.
  ScoreSharing(const SettingsStore& settings, SongEvents& events, Desktop& desktop);
  ~ScoreSharing() override;

 private:
  void tell_notices();

  Desktop& desktop_;
  std::unique_ptr<ScoreSink> mpd_, tags_;
  ScoreMirrors mirrors_;
  // A sink tells of a problem once it has met it, on its worker: looked for
  // a while after each change.
  QTimer notices_;
  int quiet_looks_ = 0;
};

}  // namespace jukora

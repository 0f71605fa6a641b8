// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/preferences/mpd_page.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"

namespace jukora::testing {
namespace {

// MPD_HOST and MPD_PORT as a test sets them, restored afterwards.
class MpdEnvironment {
 public:
  MpdEnvironment(const char* host, const char* port) {
    for (const char* name : {"MPD_HOST", "MPD_PORT"})
      if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
    setenv("MPD_HOST", host, 1);
    setenv("MPD_PORT", port, 1);
  }
  ~MpdEnvironment() {
    unsetenv("MPD_HOST");
    unsetenv("MPD_PORT");
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

std::string text(const QLineEdit* box) { return box->text().toStdString(); }

TEST(MpdPage, ShowsWhatMpdClientsUseUntilSavedThenWhatWasSaved) {
  MpdEnvironment environment("pw@music.local", "6611");
  MemorySettingsStore settings;
  MpdPage page;
  QSignalSpy changes(&page, &PlayerPage::edited);
  page.load(settings);
  EXPECT_EQ(text(page.txtHost) + " " + text(page.txtPort) + " " + text(page.txtPassword), "music.local 6611 pw");
  EXPECT_EQ(text(page.txtMusicFolder), "");
  EXPECT_EQ(page.txtPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(changes.count(), 0);

  page.txtHost->setText("/run/mpd/socket");
  QTest::keyClicks(page.txtPort, "x");  // a port is digits only
  page.txtPassword->clear();
  page.txtMusicFolder->setText("/srv/music");
  EXPECT_GT(changes.count(), 0);
  page.save(settings);
  EXPECT_EQ(settings.GetSetting(sections::kPlayer, keys::kMpdPort, ""), "6611");
  EXPECT_EQ(settings.GetSetting(sections::kPlayer, keys::kMpdMusicFolder, ""), "/srv/music");

  // What was saved wins over the environment, the empty password too.
  MpdPage again;
  again.load(settings);
  EXPECT_EQ(text(again.txtHost) + " " + text(again.txtPort) + " [" + text(again.txtPassword) + "]",
            "/run/mpd/socket 6611 []");
  EXPECT_EQ(text(again.txtMusicFolder), "/srv/music");
}

}  // namespace
}  // namespace jukora::testing

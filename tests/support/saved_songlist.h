// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist whose files live in a temporary data folder, with the settings
// and desktop fakes its file handling needs. Fixtures take it as a base.
#pragma once

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/memory_settings_store.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "support/fakes.h"

namespace jukora::testing {

struct SavedSonglist {
  TempDir temp;
  AppFolders folders{temp.path().string()};
  MemorySettingsStore settings;
  FakeDesktop desktop;
  FakeEventLoop loop;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders};
  // Where Add Files' dialog last was.
  DialogMemory dialog;
};

}  // namespace jukora::testing

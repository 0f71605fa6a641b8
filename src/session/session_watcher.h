// SPDX-License-Identifier: GPL-3.0-or-later
// What the session announces to the windows that show it, once each thing
// it was asked to do, or did on a timer, has run: a window refreshes itself
// from these, whatever brought them about.
#pragma once

namespace jukora {

struct SessionNews {
  // Cells changed (a score, a mark, a play).
  bool songs = false;
  // Rows came, went or took other places.
  bool rows = false;
  // The cursor or the selection moved.
  bool selection = false;
  // The cursor's row should be brought into view.
  bool reveal = false;
  // The song the player is at changed.
  bool playing = false;
  // The search's result changed: the rows it shows, or "N of M songs".
  bool search = false;
  // Another file became the current songlist.
  bool file = false;

  bool any() const { return songs || rows || selection || reveal || playing || search || file; }
};

class SessionWatcher {
 public:
  virtual ~SessionWatcher() = default;
  virtual void session_changed(const SessionNews& news) = 0;
};

}  // namespace jukora

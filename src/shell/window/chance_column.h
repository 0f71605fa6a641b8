// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's "Chance %" column: hidden until the person shows it from the
// header's menu, which remembers it; its width in twips under "fg_col7"
// like the grid's own columns, stored once it was shown. While it is shown
// the rows' tooltips carry their odds too.
#pragma once

#include <QObject>

class QTableView;

namespace jukora {

class SettingsStore;
class SonglistModel;

class ChanceColumn : public QObject {
  Q_OBJECT

 public:
  ChanceColumn(QTableView& view, SonglistModel& model, SettingsStore& settings);

  // Shown or hidden as stored, at the stored width.
  void load();
  // The width, when the column was ever shown.
  void save() const;
  bool shown() const;
  void set_shown(bool shown);

 private:
  void header_menu(const QPoint& position);

  QTableView& view_;
  SonglistModel& model_;
  SettingsStore& settings_;
  int twips_;
};

}  // namespace jukora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/chance_column.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "platform/settings_keys.h"
#include "shell/twips.h"
#include "shell/window/songlist_model.h"

namespace jukora {

ChanceColumn::ChanceColumn(QTableView& view, SonglistModel& model, SettingsStore& settings)
    : QObject(&view), view_(view), model_(model), settings_(settings), twips_(kDefaultColumnWidth) {
  QHeaderView* header = view_.horizontalHeader();
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(header, &QHeaderView::customContextMenuRequested, this, &ChanceColumn::header_menu);
  connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (column == kChanceColumn && size > 0) twips_ = qRound(TwipScale::of(view_).x_twips(size));
  });
  view_.setColumnHidden(kChanceColumn, true);
}

void ChanceColumn::load() {
  const int stored = read_column_width(settings_, kChanceColumn);
  twips_ = stored > 0 ? stored : kDefaultColumnWidth;
  set_shown(read_chance_column(settings_));
}

void ChanceColumn::save() const {
  if (shown() || column_width_stored(settings_, kChanceColumn)) save_column_width(settings_, kChanceColumn, twips_);
}

bool ChanceColumn::shown() const { return !view_.isColumnHidden(kChanceColumn); }

void ChanceColumn::set_shown(bool shown) {
  model_.show_odds(shown);
  view_.setColumnHidden(kChanceColumn, !shown);
  if (shown) view_.setColumnWidth(kChanceColumn, TwipScale::of(view_).x_px(twips_));
}

void ChanceColumn::header_menu(const QPoint& position) {
  QMenu menu(&view_);
  QAction* chance = menu.addAction("Chance %");
  chance->setCheckable(true);
  chance->setChecked(shown());
  chance->setToolTip("How likely each song is to be picked next by Random All (by Random Top 20 while it runs)");
  if (menu.exec(view_.horizontalHeader()->mapToGlobal(position)) != chance) return;
  set_shown(chance->isChecked());
  save_chance_column(settings_, shown());
}

}  // namespace jukora

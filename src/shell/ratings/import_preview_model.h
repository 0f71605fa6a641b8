// SPDX-License-Identifier: GPL-3.0-or-later
// The preview of an import as a table: per song, whether it is in the list,
// its score now, the source's rating, the score it would get and the later
// Last Played it would take.
#pragma once

#include <QAbstractTableModel>

#include "ratings/import_plan.h"

namespace jukora {

class ImportPreviewModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void set_plan(const ImportPlan* plan, ImportChoice choice);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const ImportPlan* plan_ = nullptr;
  ImportChoice choice_ = ImportChoice::kUntouchedSongs;
};

}  // namespace jukora

// SPDX-License-Identifier: GPL-3.0-or-later
// "Import Ratings…": the source, the rule that turns its ratings into scores
// (shown and editable before anything changes), the preview of every song,
// the choice of songs, and the read itself on a worker thread with progress
// and Cancel. The dialog changes nothing: it hands back the plan and the
// choice, which the caller applies as one step.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "ratings/import_plan.h"
#include "ratings/open_source.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTimer;

namespace jukora {

class BackgroundRead;
class ImportPreviewModel;

struct ImportDialogInput {
  // The players' own files that exist here, offered first.
  std::vector<KnownSource> known;
  // MPD as Preferences name it ("/run/mpd/socket"); empty offers no MPD.
  std::string mpd;
  RatingRule rule;
  // Opens the source a choice names; kTags with an empty path means the
  // list's own songs.
  std::function<OpenedSource(const SourceChoice&)> open;
  // The preview of a read against the list as it is now.
  std::function<ImportPlan(const SourceRead&, const std::string& source_name, const RatingRule&)> plan;
};

struct ImportDialogResult {
  ImportPlan plan;
  ImportChoice choice = ImportChoice::kUntouchedSongs;
  RatingRule rule;  // as the user left it, for Preferences
};

class ImportRatingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ImportRatingsDialog(ImportDialogInput input, QWidget* parent = nullptr);
  ~ImportRatingsDialog() override;

  // After Import was chosen; nothing after Close or Cancel.
  const std::optional<ImportDialogResult>& result() const { return result_; }

  QComboBox* const cmbSource;
  QLineEdit* const txtPath;
  QPushButton* const cmdBrowse;
  QPushButton* const cmdBrowseFolder;
  std::array<QSpinBox*, kMaxHalfStars + 1> spnScore{};
  QPushButton* const cmdDefaultRule;
  QPushButton* const cmdRead;
  QProgressBar* const barProgress;
  QPushButton* const cmdCancel;
  QLabel* const lblStatus;
  QTableView* const tblPreview;
  QRadioButton* const optNew;
  QRadioButton* const optUntouched;
  QRadioButton* const optAll;
  QPushButton* const cmdImport;

 private:
  void lay_out();
  void connect_all();
  void update_path_boxes();
  SourceChoice chosen_source() const;
  RatingRule rule() const;
  ImportChoice choice() const;
  void start_read();
  void poll_read();
  void stop_read(const QString& status);
  // Plans again from the read kept, after the rule or the choice changed.
  void refresh();

  ImportDialogInput input_;
  ImportPreviewModel* model_;
  QTimer* timer_;
  std::unique_ptr<BackgroundRead> reading_;
  std::shared_ptr<RatingSource> source_;
  std::optional<SourceRead> read_;
  std::optional<ImportPlan> plan_;
  std::optional<ImportDialogResult> result_;
};

}  // namespace jukora

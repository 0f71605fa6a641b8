// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/import_ratings_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>

#include "ratings/background_read.h"
#include "shell/ratings/import_preview_model.h"

namespace jukora {

namespace {

// What the source list offers, besides the players' files.
enum SourceItem { kKnownFile, kMpd, kListTags, kOtherPath };

constexpr std::chrono::milliseconds kPollEvery{50};

QString local(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ImportRatingsDialog::ImportRatingsDialog(ImportDialogInput input, QWidget* parent)
    : QDialog(parent),
      cmbSource(new QComboBox(this)),
      txtPath(new QLineEdit(this)),
      cmdBrowse(new QPushButton(tr("File…"), this)),
      cmdBrowseFolder(new QPushButton(tr("Folder…"), this)),
      cmdDefaultRule(new QPushButton(tr("Stars × 2"), this)),
      cmdRead(new QPushButton(tr("Read Ratings"), this)),
      barProgress(new QProgressBar(this)),
      cmdCancel(new QPushButton(tr("Cancel"), this)),
      lblStatus(new QLabel(this)),
      tblPreview(new QTableView(this)),
      optNew(new QRadioButton(tr("New songs only"), this)),
      optUntouched(new QRadioButton(tr("New songs, and songs still at score 0 and never played"), this)),
      optAll(new QRadioButton(tr("All matched songs"), this)),
      cmdImport(new QPushButton(tr("Import"), this)),
      input_(std::move(input)),
      model_(new ImportPreviewModel(this)),
      timer_(new QTimer(this)) {
  setWindowTitle(tr("Import Ratings"));
  for (int i = 0; i <= kMaxHalfStars; ++i) {
    spnScore[i] = new QSpinBox(this);
    spnScore[i]->setRange(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    spnScore[i]->setValue(static_cast<int>(input_.rule.score_of(i)));
  }
  for (const KnownSource& known : input_.known)
    cmbSource->addItem(tr("%1 (%2)").arg(QString::fromStdString(known.player), local(known.path)), kKnownFile);
  if (!input_.mpd.empty()) cmbSource->addItem(tr("MPD stickers (%1)").arg(local(input_.mpd)), kMpd);
  cmbSource->addItem(tr("The tags of the songs in the list"), kListTags);
  cmbSource->addItem(tr("Another file or folder"), kOtherPath);
  // A player's file found here comes first; without one, the list's own
  // songs are the likeliest place of ratings, not an MPD that may not run.
  if (input_.known.empty()) cmbSource->setCurrentIndex(cmbSource->findData(kListTags));
  txtPath->setPlaceholderText(tr("A rhythmdb.xml, a player's database, or a folder or audio file"));
  optUntouched->setChecked(true);
  barProgress->setVisible(false);
  cmdCancel->setVisible(false);
  cmdImport->setEnabled(false);
  cmdImport->setDefault(true);
  tblPreview->setModel(model_);
  tblPreview->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  // The last column's header is longer than its dates.
  tblPreview->horizontalHeader()->setSectionResizeMode(model_->columnCount() - 1, QHeaderView::ResizeToContents);
  tblPreview->verticalHeader()->setVisible(false);
  timer_->setInterval(kPollEvery);
  lay_out();
  connect_all();
  update_path_boxes();
}

ImportRatingsDialog::~ImportRatingsDialog() = default;

void ImportRatingsDialog::lay_out() {
  auto* source = new QGroupBox(tr("Ratings from"), this);
  auto* source_layout = new QGridLayout(source);
  source_layout->addWidget(cmbSource, 0, 0, 1, 3);
  source_layout->addWidget(txtPath, 1, 0);
  source_layout->addWidget(cmdBrowse, 1, 1);
  source_layout->addWidget(cmdBrowseFolder, 1, 2);

  auto* rule = new QGroupBox(tr("Rule: the score each rating gets"), this);
  // The scores on the left, how each program's rating is read beside them.
  auto* rule_layout = new QHBoxLayout(rule);
  auto* scores = new QGridLayout;
  for (int i = 0; i <= kMaxHalfStars; ++i) {
    const int column = i <= 5 ? 0 : 2;
    const int row = i <= 5 ? i : i - 6;
    scores->addWidget(new QLabel(QString::fromStdString(stars_text(i)), rule), row, column);
    spnScore[i]->setFixedWidth(spnScore[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    scores->addWidget(spnScore[i], row, column + 1);
  }
  scores->addWidget(cmdDefaultRule, 5, 2, 1, 2);
  rule_layout->addLayout(scores);
  QStringList table;
  for (const std::string& line : rating_table_lines()) table << QString::fromStdString(line);
  auto* how = new QLabel(table.join("\n"), rule);
  how->setWordWrap(true);
  how->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  how->setEnabled(false);  // a note, not a control
  rule_layout->addSpacing(12);
  rule_layout->addWidget(how, 1);

  auto* songs = new QGroupBox(tr("Apply to"), this);
  auto* songs_layout = new QVBoxLayout(songs);
  auto* group = new QButtonGroup(this);
  for (QRadioButton* option : {optNew, optUntouched, optAll}) {
    group->addButton(option);
    songs_layout->addWidget(option);
  }

  auto* reading = new QHBoxLayout;
  reading->addWidget(cmdRead);
  reading->addWidget(barProgress, 1);
  reading->addWidget(cmdCancel);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(cmdImport, QDialogButtonBox::AcceptRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source);
  layout->addWidget(rule);
  layout->addLayout(reading);
  layout->addWidget(lblStatus);
  layout->addWidget(tblPreview, 1);
  layout->addWidget(songs);
  layout->addWidget(buttons);
  resize(900, 720);
}

void ImportRatingsDialog::connect_all() {
  connect(cmbSource, &QComboBox::currentIndexChanged, this, &ImportRatingsDialog::update_path_boxes);
  connect(cmdBrowse, &QPushButton::clicked, this, [this] {
    const QString picked = QFileDialog::getOpenFileName(this, tr("Import Ratings From"), txtPath->text());
    if (!picked.isEmpty()) txtPath->setText(picked);
  });
  connect(cmdBrowseFolder, &QPushButton::clicked, this, [this] {
    const QString picked =
        QFileDialog::getExistingDirectory(this, tr("Import Ratings From the Tags In"), txtPath->text());
    if (!picked.isEmpty()) txtPath->setText(picked);
  });
  connect(cmdDefaultRule, &QPushButton::clicked, this, [this] {
    for (int i = 0; i <= kMaxHalfStars; ++i) spnScore[i]->setValue(i);
  });
  for (QSpinBox* box : spnScore) connect(box, &QSpinBox::valueChanged, this, &ImportRatingsDialog::refresh);
  for (QRadioButton* option : {optNew, optUntouched, optAll})
    connect(option, &QRadioButton::toggled, this, &ImportRatingsDialog::refresh);
  connect(cmdRead, &QPushButton::clicked, this, &ImportRatingsDialog::start_read);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { stop_read(tr("Cancelled: nothing was changed.")); });
  connect(timer_, &QTimer::timeout, this, &ImportRatingsDialog::poll_read);
  connect(cmdImport, &QPushButton::clicked, this, [this] {
    // The list may have changed since the preview (a score, a drop, another
    // import): the plan is made again of the list as it is now.
    refresh();
    if (!plan_ || !cmdImport->isEnabled()) return;
    result_ = ImportDialogResult{*plan_, choice(), rule()};
    accept();
  });
}

void ImportRatingsDialog::update_path_boxes() {
  const bool other = cmbSource->currentData().toInt() == kOtherPath;
  txtPath->setEnabled(other);
  cmdBrowse->setEnabled(other);
  cmdBrowseFolder->setEnabled(other);
}

SourceChoice ImportRatingsDialog::chosen_source() const {
  switch (cmbSource->currentData().toInt()) {
    case kKnownFile: {
      const KnownSource& known = input_.known[static_cast<std::size_t>(cmbSource->currentIndex())];
      return choose_source(known.path);
    }
    case kMpd:
      return {SourceKind::kMpd, {}, {}};
    case kListTags:
      return {SourceKind::kTags, {}, {}};
    default: {
      const QByteArray path = txtPath->text().toLocal8Bit();
      return choose_source(std::string_view(path.constData(), static_cast<std::size_t>(path.size())));
    }
  }
}

RatingRule ImportRatingsDialog::rule() const {
  RatingRule rule;
  for (int i = 0; i <= kMaxHalfStars; ++i) rule.set_score(i, spnScore[i]->value());
  return rule;
}

ImportChoice ImportRatingsDialog::choice() const {
  if (optNew->isChecked()) return ImportChoice::kNewSongs;
  return optAll->isChecked() ? ImportChoice::kAllMatched : ImportChoice::kUntouchedSongs;
}

void ImportRatingsDialog::start_read() {
  OpenedSource opened = input_.open(chosen_source());
  if (!opened.source) {
    lblStatus->setText(local(opened.problem));
    return;
  }
  read_.reset();
  plan_.reset();
  refresh();
  source_ = std::move(opened.source);
  reading_ = std::make_unique<BackgroundRead>(source_);
  lblStatus->setText(tr("Reading %1…").arg(QString::fromStdString(source_->name())));
  barProgress->setRange(0, 0);
  barProgress->setVisible(true);
  cmdCancel->setVisible(true);
  cmdRead->setEnabled(false);
  timer_->start();
}

void ImportRatingsDialog::poll_read() {
  if (!reading_) return;
  const auto [done, total] = reading_->progress();
  // A range the bar can hold, whatever the step counts are.
  if (total > 0) {
    barProgress->setRange(0, 1000);
    barProgress->setValue(static_cast<int>(std::min<std::size_t>(done, total) * 1000 / total));
  }
  std::optional<SourceRead> read = reading_->take();
  if (!read) return;
  if (read->status != SourceRead::Status::kOk) {
    stop_read(read->status == SourceRead::Status::kCancelled ? tr("Cancelled: nothing was changed.")
                                                             : local(read->error));
    return;
  }
  read_ = std::move(read);
  stop_read({});
  refresh();
}

void ImportRatingsDialog::stop_read(const QString& status) {
  if (reading_) reading_->cancel();
  reading_.reset();
  timer_->stop();
  barProgress->setVisible(false);
  cmdCancel->setVisible(false);
  cmdRead->setEnabled(true);
  if (!status.isEmpty()) lblStatus->setText(status);
}

void ImportRatingsDialog::refresh() {
  model_->set_plan(nullptr, choice());
  if (read_ && source_) plan_ = input_.plan(*read_, source_->name(), rule());
  model_->set_plan(plan_ ? &*plan_ : nullptr, choice());
  if (!plan_) {
    cmdImport->setEnabled(false);
    return;
  }
  const ImportOutcome outcome = outcome_of(*plan_, choice());
  // A sentence of its own: "The files' tags: Would import ...".
  QString source = QString::fromStdString(plan_->source_name);
  if (!source.isEmpty()) source[0] = source[0].toUpper();
  lblStatus->setText(source + ": " + QString::fromStdString(summary_line(*plan_, outcome, true)));
  cmdImport->setEnabled(!outcome.changes.empty());
}

}  // namespace jukora

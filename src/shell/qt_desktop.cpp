// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt_desktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "shell/local_text.h"

namespace jukora {

namespace {

QString q(const std::string& text) { return qt_text(text); }

QString start_path(const FileDialogRequest& request) {
  QString dir = q(request.initial_dir);
  QString name = q(request.file_name);
  // Until a folder has been chosen in this run, start at home rather than
  // wherever the program happened to be started from.
  if (name.isEmpty()) return dir.isEmpty() ? QDir::homePath() : dir;
  QFileInfo info(name);
  if (info.isAbsolute()) return dir.isEmpty() ? name : QDir(dir).filePath(info.fileName());
  return dir.isEmpty() ? name : QDir(dir).filePath(name);
}

}  // namespace

QString qt_filter(const std::string& filter) {
  QStringList parts = q(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
#ifndef _WIN32
    // "*.*" means every file on Windows; elsewhere it would hide names without a dot.
    for (QString& pattern : patterns)
      if (pattern == "*.*") pattern = "*";
#endif
    // Qt shows the patterns after the label itself; a label that already
    // names them in brackets would show them twice.
    QString label = parts[i];
    static const QRegularExpression named_patterns(QStringLiteral("\\s*\\([^()]*\\)$"));
    label.remove(named_patterns);
    entries << label + " (" + patterns.join(QLatin1Char(' ')) + ")";
  }
  return entries.join(";;");
}

QtDesktop::QtDesktop(QWidget* parent) : parent_(parent) {}
QtDesktop::~QtDesktop() { end_progress(); }

void QtDesktop::message_box(const std::string& text) {
  if (ending_) return;
  QMessageBox box(QMessageBox::NoIcon, kAppTitle, q(text), QMessageBox::Ok, parent_);
  box.exec();
}

std::optional<std::string> QtDesktop::choose_file(const FileDialogRequest& request) {
  if (ending_) return std::nullopt;
  QFileDialog dialog(parent_, q(request.title), start_path(request), qt_filter(request.filter));
  // Saving asks before it replaces a file that exists.
  dialog.setAcceptMode(request.asks_to_replace ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // A new name may be typed: New and Save As name files that do not exist yet.
  dialog.setFileMode(QFileDialog::AnyFile);
  // The button names the command, so a Save As does not read "Open".
  if (!request.title.empty()) dialog.setLabelText(QFileDialog::Accept, q(request.title));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return program_text(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

std::vector<std::string> QtDesktop::choose_files(const FileDialogRequest& request) {
  if (ending_) return {};
  QFileDialog dialog(parent_, q(request.title), start_path(request), qt_filter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  std::vector<std::string> paths;
  if (dialog.exec() != QDialog::Accepted) return paths;
  for (const QString& path : dialog.selectedFiles()) paths.push_back(program_text(QDir::toNativeSeparators(path)));
  return paths;
}

void QtDesktop::set_captions(const std::string& window_caption, const std::string& menu_caption) {
  if (parent_) parent_->setWindowTitle(q(window_caption));
  if (on_menu_caption) on_menu_caption(q(menu_caption));
}

void QtDesktop::show_preferences() {
  if (on_show_preferences) on_show_preferences();
}

void QtDesktop::set_busy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtDesktop::show_window() {
  if (!parent_) return;
  parent_->showNormal();
  parent_->raise();
  parent_->activateWindow();
}

void QtDesktop::toggle_window() {
  if (!parent_) return;
  parent_->setVisible(!parent_->isVisible());
  if (!parent_->isVisible()) return;
  parent_->raise();
  parent_->activateWindow();
}

void QtDesktop::open_mode_menu() {
  if (on_mode_menu) on_mode_menu();
}

void QtDesktop::show_status(const std::string& text) {
  if (on_status) on_status(q(text));
}

bool QtDesktop::showing_modal() const { return QApplication::activeModalWidget() != nullptr; }

void QtDesktop::notify(const std::string& text) {
  const QString line = qt_text(text);
  if (on_notify) {
    on_notify(line, false);
  } else {
    qInfo("%s", qUtf8Printable(line));
  }
}

void QtDesktop::notify_undoable(const std::string& text) {
  if (!on_notify) return notify(text);
  on_notify(qt_text(text), true);
}

bool QtDesktop::show_progress(const std::string& text) {
  if (!progress_) {
    // Modeless, so that the window and the tray keep working meanwhile; it
    // shows itself only when the work lasts.
    progress_ = new QProgressDialog(parent_);
    progress_->setWindowTitle(kAppTitle);
    progress_->setCancelButtonText(QStringLiteral("Cancel"));
    progress_->setRange(0, 0);
    progress_->setMinimumDuration(500);
    progress_->setAutoReset(false);
    progress_->setValue(0);
  }
  progress_->setLabelText(q(text));
  return !ending_ && !progress_->wasCanceled();
}

void QtDesktop::end_progress() { delete progress_; }

}  // namespace jukora

// SPDX-License-Identifier: GPL-3.0-or-later
// Ratings imported into the running program: "Import Ratings…" from the mode
// menu (the dialog, one at a time, the window working on meanwhile) and
// `jukora --import-ratings` handed over by another process (the source read
// on a worker, the outcome sent back). Either import is applied to the list
// as it is at that moment, as one step: one recompute, one save.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "session/commands.h"

class QWidget;

namespace jukora {

class Desktop;
class ImportRatingsDialog;
class Session;
class SettingsStore;
struct ImportDialogInput;
struct ImportDialogResult;

class RatingsImports : public QObject {
 public:
  // Imports go into the session's songlist, which then tells its windows.
  RatingsImports(Session& session, SettingsStore& settings, Desktop& desktop, QWidget* window);
  ~RatingsImports() override;

  // Opens the dialog, or brings the open one to the front.
  void open_dialog();
  // The open dialog; null when none is.
  ImportRatingsDialog* dialog() const;

  // Another process's import: one at a time; a caller that leaves before
  // it is applied takes it back, and nothing changes.
  void import_for_caller(const std::string& source, bool dry_run, const CommandReply& reply);

 private:
  struct CallerImport;

  ImportDialogInput dialog_input();
  void apply(const ImportDialogResult& result);
  void poll_caller();

  Session& session_;
  SettingsStore& settings_;
  Desktop& desktop_;
  QWidget* const window_;
  QPointer<ImportRatingsDialog> dialog_;
  std::unique_ptr<CallerImport> caller_;
  QTimer poll_;
};

}  // namespace jukora

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/ratings_imports.h"

#include <cstdlib>

#include "platform/desktop.h"
#include "platform/files.h"
#include "ratings/background_read.h"
#include "ratings/import_command.h"
#include "ratings/wait_notice.h"
#include "session/session.h"
#include "shell/ratings/import_ratings_dialog.h"
#ifndef _WIN32
#include "player/mpd/mpd_address.h"
#endif

namespace jukora {

namespace {

constexpr std::chrono::milliseconds kPollEvery{50};

bool exists(const std::string& path) { return is_file(path); }

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A reply with nobody behind it (the program's own command line) goes nowhere.
void answer(const CommandReply& reply, int status, const std::string& text) {
  if (reply.send) reply.send(status, text);
}

}  // namespace

struct RatingsImports::CallerImport {
  std::string source_name;
  std::unique_ptr<BackgroundRead> reading;
  bool dry_run = false;
  CommandReply reply;
  WaitNotice waiting;
};

RatingsImports::RatingsImports(Session& session, SettingsStore& settings, Desktop& desktop, QWidget* window)
    : session_(session), settings_(settings), desktop_(desktop), window_(window) {
  poll_.setInterval(kPollEvery);
  connect(&poll_, &QTimer::timeout, this, &RatingsImports::poll_caller);
}

RatingsImports::~RatingsImports() { delete dialog_; }

ImportDialogInput RatingsImports::dialog_input() {
  ImportDialogInput input;
  for (KnownSource& known :
       known_sources(environment("HOME"), environment("XDG_DATA_HOME"), environment("XDG_CONFIG_HOME")))
    if (exists(known.path)) input.known.push_back(std::move(known));
#ifndef _WIN32
  input.mpd = read_mpd_address(settings_).describe();
#endif
  input.rule = read_rating_rule(settings_);
  input.open = [this](const SourceChoice& choice) {
    // The tags of the songs in the list, as the list is when the read starts.
    if (choice.kind == SourceKind::kTags && choice.path.empty())
      return open_tag_source(listed_song_paths(session_.songlist()));
    return open_source(choice, settings_);
  };
  input.plan = [this](const SourceRead& read, const std::string& source_name, const RatingRule& rule) {
    return plan_import(session_.songlist(), read, source_name, rule, exists);
  };
  return input;
}

ImportRatingsDialog* RatingsImports::dialog() const { return dialog_; }

void RatingsImports::open_dialog() {
  if (!dialog_) {
    dialog_ = new ImportRatingsDialog(dialog_input(), window_);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    // At once, within the click on Import: the plan is of the list as it is now.
    connect(dialog_, &QDialog::accepted, this, [this] {
      if (dialog_ && dialog_->result()) apply(*dialog_->result());
    });
  }
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

void RatingsImports::apply(const ImportDialogResult& result) {
  save_rating_rule(settings_, result.rule);
  const ImportOutcome outcome = apply_import(session_.songlist(), session_.files(), result.plan, result.choice);
  desktop_.notify(summary_line(result.plan, outcome));
  session_.announce();
}

void RatingsImports::import_for_caller(const std::string& source, bool dry_run, const CommandReply& reply) {
  if (caller_) {
    answer(reply, 1, "Jukora is importing ratings for another command; try again once it has ended.\n");
    return;
  }
  OpenedSource opened = open_command_source(source, settings_);
  if (!opened.source) {
    answer(reply, 1, opened.problem + "\n");
    return;
  }
  caller_ = std::make_unique<CallerImport>();
  caller_->source_name = opened.source->name();
  caller_->reading = std::make_unique<BackgroundRead>(std::move(opened.source));
  caller_->dry_run = dry_run;
  caller_->reply = reply;
  poll_.start();
}

void RatingsImports::poll_caller() {
  if (!caller_) return poll_.stop();
  // A caller that has gone (Ctrl+C, its deadline) takes its import back.
  if (caller_->reply.waited_for && !caller_->reply.waited_for()) {
    caller_.reset();
    return poll_.stop();
  }
  std::optional<SourceRead> read = caller_->reading->take();
  if (!read) {
    const std::string told = caller_->waiting.look(caller_->reading->waiting_for());
    if (!told.empty() && caller_->reply.note) caller_->reply.note(told);
    return;
  }
  const std::unique_ptr<CallerImport> done = std::move(caller_);
  poll_.stop();
  const ImportCommandResult result =
      finish_import_command(session_.songlist(), session_.files(), settings_, done->source_name, *read, done->dry_run);
  answer(done->reply, result.exit_code, result_text(result));
  session_.announce();
}

}  // namespace jukora

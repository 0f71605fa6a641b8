// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "shell/local_text.h"

namespace jukora {

namespace {

// The options QGuiApplication and QApplication take for themselves.
const QStringList kQtOptionsWithValue = {"platform",        "platformpluginpath", "platformtheme", "plugin",
                                         "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
                                         "display",         "geometry",           "style",         "stylesheet"};
const QStringList kQtSwitches = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

[[noreturn]] void refuse(const QString& why) {
  std::fprintf(stderr, "jukora: %s\nTry 'jukora --help'.\n", qUtf8Printable(why));
  std::exit(EXIT_FAILURE);
}

}  // namespace

CommandLine read_command_line(int argc, char* argv[], std::span<const CommandEntry> commands) {
  QCommandLineParser parser;
  // Qt's own options come with one dash ("-platform xcb").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(
      "Jukora Song Manager keeps a songlist of scored songs and feeds a media player.\n"
      "With a command, a running Jukora acts as if its tray icon had been clicked;\n"
      "when none runs, Jukora starts and then acts.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  for (const CommandEntry& entry : commands)
    if (!entry.word.empty()) parser.addOption({qt_text(entry.word), qt_text(entry.help), qt_text(entry.argument)});
  for (const QString& name : kQtOptionsWithValue) {
    QCommandLineOption option(name, QString(), "value");
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const QString& name : kQtSwitches) {
    QCommandLineOption option(name);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (!parser.parse(arguments)) refuse(parser.errorText());
  const bool wants_help = parser.isSet(help) || parser.isSet("help-all");
  if (wants_help || parser.isSet(version)) {
    // For the program's name as it was called in the usage line.
    QCoreApplication terminal(argc, argv);
    if (wants_help) parser.showHelp(EXIT_SUCCESS);
    parser.showVersion();
  }
  if (!parser.positionalArguments().isEmpty())
    refuse("unexpected argument '" + parser.positionalArguments().first() + "'");

  CommandLine line;
  for (const CommandEntry& entry : commands) {
    if (entry.word.empty() || !parser.isSet(qt_text(entry.word))) continue;
    if (line.command) refuse("one command at a time");
    line.command =
        CommandCall(entry.command, entry.argument.empty() ? "" : program_text(parser.value(qt_text(entry.word))));
  }
  return line;
}

}  // namespace jukora

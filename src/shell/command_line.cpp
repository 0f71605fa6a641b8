// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "player/raw_bytes.h"
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
      "when none runs, Jukora starts and then acts. --import-ratings is carried out\n"
      "by the running Jukora, or without a window when none runs.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  for (const CommandEntry& entry : commands)
    if (!entry.word.empty()) parser.addOption({qt_text(entry.word), qt_text(entry.help), qt_text(entry.argument)});
  for (const CommandEntry& entry : commands)
    if (!entry.option.empty()) parser.addOption({qt_text(entry.option), qt_text(entry.option_help)});
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

  // A path's bytes are the name the file system knows, whether or not they
  // are text: each byte that is not UTF-8 travels through Qt's strings as a
  // character of its own and comes back as that byte.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromStdString(bytes_to_utf8(argv[i]));
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
    const QString name = qt_text(entry.word);
    std::string value = entry.argument.empty() ? "" : utf8_to_bytes(parser.value(name).toStdString());
    if (value.size() > kCommandValueLimit)
      refuse("the value of --" + name + " is longer than " + QString::number(kCommandValueLimit) + " bytes");
    line.command =
        CommandCall(entry.command, std::move(value), !entry.option.empty() && parser.isSet(qt_text(entry.option)));
  }
  for (const CommandEntry& entry : commands)
    if (!entry.option.empty() && parser.isSet(qt_text(entry.option)) &&
        (!line.command || line.command->command != entry.command))
      refuse("--" + qt_text(entry.option) + " goes with --" + qt_text(entry.word));
  return line;
}

}  // namespace jukora

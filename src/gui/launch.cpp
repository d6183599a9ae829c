#include "gui/launch.h"

#include "version_private.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QObject>
#include <QUrl>

namespace {

const char* const program = "quelmora";

Launch::Request failure(const QString& text)
{
  Launch::Request r;
  r.exit = true;
  r.exitCode = 2;
  r.error = QStringLiteral("%1: %2\n").arg(QLatin1String(program), text);
  return r;
}

} // namespace

Launch::Request Launch::parseArguments(const QStringList& args)
{
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QObject::tr("Studies the fuzzy transform (F-transform) of functions of one variable.\n"
                  "FILE is a session (.qms) to open, or a data file (.csv, .txt) to open as "
                  "data."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                   QObject::tr("Displays version information."));
  parser.addOption(version);
  parser.addPositionalArgument(QStringLiteral("FILE"), QObject::tr("Session or data file to open."),
                               QStringLiteral("[FILE]"));
  if (!parser.parse(args)) {
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.')))
      text.chop(1);
    Request r = failure(text + QObject::tr(" (see --help)"));
    r.unknownOption = true;
    return r;
  }

  Request r;
  // The parser knows --help-all as well; the Qt options it would add are in the manual.
  const bool wantsHelp = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
  if (wantsHelp || parser.isSet(version)) {
    r.exit = true;
    r.out = wantsHelp ? parser.helpText()
                      : QStringLiteral("%1 %2\n").arg(QLatin1String(program),
                                                      QStringLiteral(QUELMORA_VERSION));
    return r;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1)
    return failure(QObject::tr("give at most one file, got %1 (see --help)").arg(files.size()));
  if (files.isEmpty())
    return r;

  const QString path = files.first();
  const QFileInfo info(path);
  if (info.isDir())
    return failure(QObject::tr("cannot open \"%1\": it is a directory").arg(path));
  QFile probe(path);
  if (!probe.open(QIODevice::ReadOnly))
    return failure(QObject::tr("cannot open \"%1\": %2").arg(path, probe.errorString()));
  r.kind = kindOf(path);
  if (r.kind == NoFile)
    return failure(
        QObject::tr("\"%1\" is neither a session (.qms) nor a data file (.csv, .txt)").arg(path));
  r.file = info.absoluteFilePath();
  return r;
}

Launch::Kind Launch::kindOf(const QString& path)
{
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("qms"))
    return Session;
  if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt"))
    return Data;
  return NoFile;
}

QString Launch::droppedFile(const QMimeData* data)
{
  if (!data || !data->hasUrls() || data->urls().size() != 1)
    return QString();
  const QUrl url = data->urls().first();
  if (!url.isLocalFile())
    return QString();
  const QString path = url.toLocalFile();
  return kindOf(path) != NoFile && QFileInfo(path).isFile() ? path : QString();
}

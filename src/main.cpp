// Program entry: names the organisation and the application (which selects
// the user settings file), reads the command line and runs the main window.
#include "gui/launch.h"
#include "gui/mainwindow.h"
#include "gui/translations.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>

#include <clocale>
#include <csignal>
#include <cstdio>

namespace {

void nameApplication()
{
  QCoreApplication::setOrganizationName(QStringLiteral("korvant"));
  QCoreApplication::setApplicationName(QStringLiteral("quelmora"));
}

int finish(const Launch::Request& r)
{
  std::fputs(r.out.toLocal8Bit().constData(), stdout);
  std::fputs(r.error.toLocal8Bit().constData(), stderr);
  return r.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
  {
    // Answered without a display where possible; an unknown option waits for
    // the GUI application, which takes its own options (-style, -platform) first.
    QCoreApplication probe(argc, argv);
    nameApplication();
    const Launch::Request early = Launch::parseArguments(QCoreApplication::arguments());
    if (early.exit && !early.unknownOption)
      return finish(early);
  }

  QApplication app(argc, argv);
  // QApplication adopts the system locale for the C library; numbers in files
  // and expressions are always read with a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  // An export into a FIFO whose reader quits must fail with a message, not
  // end the program with the user's work.
  std::signal(SIGPIPE, SIG_IGN);
  nameApplication();
  QSettings::setDefaultFormat(QSettings::IniFormat);
  // The window speaks the user's language (on Linux QLocale reads LANGUAGE
  // first, then LC_ALL, LC_MESSAGES and LANG); the guide follows the same list.
  Translations::install(&app, Translations::languageFor(QLocale().uiLanguages()));
  const Launch::Request request = Launch::parseArguments(QCoreApplication::arguments());
  if (request.exit)
    return finish(request);

  MainWindow window;
  window.setStartupFile(request.file);
  window.show();
  return app.exec();
}

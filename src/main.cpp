// Program entry: names the organisation and the application (which selects
// the user settings file) and runs the main window.
#include "gui/mainwindow.h"

#include <QApplication>
#include <QSettings>

#include <clocale>
#include <csignal>

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  // QApplication adopts the system locale for the C library; numbers in files
  // and expressions are always read with a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  // An export into a FIFO whose reader quits must fail with a message, not
  // end the program with the user's work.
  std::signal(SIGPIPE, SIG_IGN);
  QCoreApplication::setOrganizationName(QStringLiteral("korvant"));
  QCoreApplication::setApplicationName(QStringLiteral("quelmora"));
  QSettings::setDefaultFormat(QSettings::IniFormat);

  MainWindow window;
  window.show();
  return app.exec();
}

// Files that reach the main window from the desktop: the command line and
// files dropped on the window.
#include "gui/mainwindow.h"

#include "gui/launch.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

bool MainWindow::openFile(const QString& path)
{
  switch (Launch::kindOf(path)) {
  case Launch::Session:
    // Listed only once it opened: a refused file would come back at every start.
    if (!confirmUnsavedWork() || !openSession(path))
      return false;
    addRecentSession(path);
    return true;
  case Launch::Data:
    // What "Open data" does with the choices its dialog starts with.
    return openDataFile(path, 0);
  case Launch::NoFile:
    break;
  }
  return false;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
  if (!Launch::droppedFile(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
  const QString file = Launch::droppedFile(event->mimeData());
  if (file.isEmpty())
    return;
  event->acceptProposedAction();
  // Opened once the drop is over: the import dialog must not hold the
  // program the file came from.
  QTimer::singleShot(0, this, [this, file] { openFile(file); });
}

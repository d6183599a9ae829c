// Temporary definitions until the data import of the main window lands in
// its own file.
#include "gui/mainwindow.h"

#if !__has_include("gui/mainwindow_data.cpp")
bool MainWindow::loadDataFile(DataFileInfo, bool)
{
  return false;
}

void MainWindow::onActionOpenData_triggered() {}
#endif

// Unsaved work of the main window: which changes the session file does not
// have yet, and the question before they would be lost.
#include "gui/mainwindow.h"

#include "ui_mainwindow.h"

#include "gui/components/functiontablewidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/history/edithistory.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/preferenceswidget.h"
#include "gui/unsavedwork.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QTableWidgetItem>

#include <qwt_slider.h>

void MainWindow::watchForChanges()
{
  unsavedWork = new UnsavedWork(this);
  UnsavedWork* work = unsavedWork;
  // Steps of the undo history: the window is modified while the history is
  // away from the state saved last.
  EditHistory* history = editHistory;
  const auto step = [history] { history->changed(); };
  connect(ui->domainWidget, &ConfigWidgetBase::inputsChanged, history, step);
  // Every change of the partition, its nodes, the degrees and the picked
  // functions recomputes the transforms; an edited component does not.
  connect(ui->centralwidget, &FtransformWidget::ftransformRefreshed, history, step);
  connect(ui->functionTableWidget, &FunctionTableWidget::componentChanged, history, step);
  for (QAction* a : partitionGroup->actions())
    connect(a, &QAction::triggered, history, step);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, history, step);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, history, step);
  connect(randomDataAction.data(), &QAction::triggered, history, step);
  connect(ui->actionCloseData, &QAction::triggered, history, step);
  work->follow(history);
  history->clear();

  // Changes that no step undoes.
  const auto changed = [work] { work->markModified(); };
  connect(zoomSlider, &QwtSlider::valueChanged, work, changed);
  connect(ui->actionShowLegend, &QAction::toggled, work, changed);
  for (QAction* a : legendGroup->actions())
    connect(a, &QAction::triggered, work, changed);
  connect(preferences, &QDialog::accepted, work, changed);
}

bool MainWindow::confirmUnsavedWork()
{
  const QString name =
      sessionFile.isEmpty() ? tr("a new session") : QFileInfo(sessionFile).fileName();
  return unsavedWork->confirmDiscard(name, [this] { return saveToSessionFile(); });
}

bool MainWindow::saveToSessionFile()
{
  if (sessionFile.isEmpty()) {
    onActionSaveAsSession_triggered();
    return !unsavedWork->isModified();
  }
  if (!checkSessionInputs() || !saveSession(sessionFile))
    return false;
  unsavedWork->markClean();
  return true;
}

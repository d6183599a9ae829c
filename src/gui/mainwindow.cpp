#include "gui/mainwindow.h"

#include "ui_mainwindow.h"

#include "gui/aboutwidget.h"
#include "gui/analysis/analysisfeatures.h"
#include "gui/components/accessiblenames.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/plotwidget.h"
#include "gui/documentview.h"
#include "gui/exportcontroller.h"
#include "gui/formulabuilderwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/guide/userguide.h"
#include "gui/history/documenteditstate.h"
#include "gui/history/edithistory.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/launch.h"
#include "gui/preferenceswidget.h"
#include "gui/recentsessions.h"
#include "gui/sessioncontroller.h"
#include "gui/unsavedwork.h"
#include "gui/usersettings.h"
#include "gui/widgetpersistence.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include <qwt_plot.h>
#include <qwt_slider.h>

#include <utility>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), zoomSlider(new QwtSlider(this)),
      formulaBuilder(new FormulaBuilderWidget), preferences(new PreferencesWidget),
      about(new AboutWidget), sessionPersistence(new WidgetPersistence(this)),
      globalPersistence(new WidgetPersistence(this))
{
  AccessibleNames::watch();
  ui->setupUi(this);

  ui->menuRecentSession->removeAction(ui->actionDefault);
  delete ui->actionDefault;
  ui->actionDefault = nullptr;
  partitionGroup = new QActionGroup(this);
  partitionGroup->setExclusive(true);
  partitionGroup->addAction(ui->actionEquidistant);
  partitionGroup->addAction(ui->actionFixedPT);
  partitionGroup->addAction(ui->actionPartDelta);
  for (QLabel* l : {ui->domainLbl, ui->zoomLbl, ui->selectorLbl, ui->ftransfLbl}) {
    l->setFrameShape(QFrame::WinPanel);
    l->setFrameShadow(QFrame::Raised);
    l->setLineWidth(0);
  }
  about->hide();
  about->setWindowModality(Qt::WindowModal);
  formulaBuilder->hide();
  formulaBuilder->setWindowModality(Qt::ApplicationModal);
  preferences->hide();
  preferences->setWindowModality(Qt::ApplicationModal);
  preferences->setCurrentPage(1);

  globalPersistence->setFile(QString());
  globalPersistence->addWidget(preferences->pages()->widget(2), QStringLiteral("Preferences"));
  // The session's widget keys live in the document until it is saved.
  sessionPersistence->setStore(&document.stored);
  sessionPersistence->addWidget(preferences->pages()->widget(0),
                                QStringLiteral("Preferences_page0"));
  sessionPersistence->addWidget(preferences->pages()->widget(1),
                                QStringLiteral("Preferences_page1"));
  sessionPersistence->addWidget(ui->domainWidget, QStringLiteral("DomainWidget"));
  sessionPersistence->addWidget(ui->fnSelector, QStringLiteral("FunctionSelector"));
  sessionPersistence->addWidget(ui->ftDegreeWidget, QStringLiteral("FtDegreeWidget"));
  sessionPersistence->setHeldGroups(ExportController::dialogGroups());

  zoomSlider->setOrientation(Qt::Horizontal);
  zoomSlider->setAccessibleName(tr("Zoom"));
  zoomSlider->setToolTip(tr("Draws the curves on more points, for a closer look"));
  QwtPlot* mainPlot = ui->centralwidget->plotWidget()->plot();
  mainPlot->setAccessibleName(tr("Plot of the functions and their F-transforms"));
  mainPlot->setToolTip(tr("The functions, their inverse F-transforms of the shown degrees and, "
                          "when chosen, the components and the error curves"));
  WidgetBase::replaceWidget(ui->sliderLayout, ui->sliderPlaceholder, zoomSlider);
  ui->sliderPlaceholder = nullptr;
  document.resetRecords();

  FtransformWidget* ft = ui->centralwidget;
  ft->setMaxDegree(0);
  ft->setVisibleDegrees(1);
  ui->ftDegreeSpin->setValue(0);
  ui->ft0ChBox->setChecked(true);

  document.domain = SessionDocument::makeDomain(document.domainRecord);

  zoomSlider->setHandleSize(QSize(20, 12));
  zoomSlider->setObjectName(QStringLiteral("zoomSlider"));
  setTabOrder(ui->domainWidget->lastInputWidget(), zoomSlider);
  legendGroup = new QActionGroup(this);
  legendGroup->setExclusive(true);
  const std::pair<QAction*, Qt::Alignment> corners[] = {
      {ui->actionLegendTopLeft, Qt::AlignTop | Qt::AlignLeft},
      {ui->actionLegendTopRight, Qt::AlignTop | Qt::AlignRight},
      {ui->actionLegendBottomLeft, Qt::AlignBottom | Qt::AlignLeft},
      {ui->actionLegendBottomRight, Qt::AlignBottom | Qt::AlignRight}};
  for (const auto& [action, corner] : corners) {
    action->setData(int(corner));
    legendGroup->addAction(action);
  }
  ui->actionCloseData->setEnabled(false);
  ui->actionSaveSession->setEnabled(false);
  ui->dockFunctionTable->hide();

  view = new DocumentView(this, ui, zoomSlider, document, formulaBuilder, preferences, legendGroup);
  sessions = new SessionController(this, ui, document, view, sessionPersistence, preferences);
  analysis = new AnalysisFeatures(this, ft, ui->menuWindow, ui->dockFunctionTable);
  view->setAnalysis(analysis);
  // Before the settings are restored: the window state places the history's dock too.
  unsavedWork = new UnsavedWork(this);
  editState = new DocumentEditState(document, view, ft, unsavedWork);
  editHistory = new EditHistory(this, ft, editState);
  editHistory->addActions(ui->menuEdit, ui->menuWindow);
  view->setHistory(editHistory);
  sessions->setHistory(editHistory, unsavedWork);

  ft->setPartition(view->currentRecord(), document.domain);
  ft->setStyles(preferences->backgroundColor(), preferences->functionPen(),
                preferences->transformPen(0), preferences->transformPen(1),
                preferences->transformPen(2), preferences->transformPen(3));

  // The selector index is where the table column goes: refreshes rebuild
  // them. Connected before the selectors are, so a refresh after an added
  // selector sees the new column.
  QTableWidget* table = ui->functionTableWidget->table();
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, table,
          [table](int index) { table->insertColumn(qBound(0, index, table->columnCount())); });
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, table, [table](int index) {
    if (index >= 0 && index < table->columnCount())
      table->removeColumn(index);
  });

  restoreSettings();
  connectActions();

  ui->actionExit->setShortcuts(QKeySequence::Quit);
  // A label, not a message: status tips (the partition plot's) only cover it for a while.
  auto* problemLabel = new QLabel(this);
  problemLabel->setObjectName(QStringLiteral("partitionProblemLbl"));
  statusBar()->addWidget(problemLabel, 1);
  connect(ft, &FtransformWidget::partitionProblemChanged, problemLabel,
          [problemLabel](const QString& problem) {
            problemLabel->setText(problem.isEmpty()
                                      ? QString()
                                      : tr("The partition is not computed: %1.").arg(problem));
          });
  watchForChanges();
  view->updateTabOrder();

  sessions->updateWindowTitle();
  if (ui->actionShowLegend->isChecked())
    ft->plotWidget()->setLegendVisible(true);

  QTimer::singleShot(0, this, &MainWindow::ctorFinished);
}

MainWindow::~MainWindow()
{
  // Nothing the window does while it goes away is a step.
  delete editHistory;
  editHistory = nullptr;
  view->setHistory(nullptr);
  delete editState;
  editState = nullptr;
  delete analysis;
  analysis = nullptr;
  view->setAnalysis(nullptr);
  // A line edit losing focus during destruction would report into a
  // half-destroyed window.
  disconnect(ui->domainWidget, nullptr, view, nullptr);
  disconnect(ui->dockFunctionTable, nullptr, view, nullptr);
  disconnect(ui->fnSelector, nullptr, view, nullptr);
  delete exporter;
  delete sessions;
  ui->centralwidget->setPartition({}, nullptr);
  if (!document.functions.isEmpty())
    ui->centralwidget->removeFunctions(document.functions);
  // Before the document it shows goes.
  delete view;
  randomDataAction.reset();
  delete formulaBuilder;
  delete preferences;
  delete about;
  delete ui;
}

void MainWindow::connectActions()
{
  FtransformWidget* ft = ui->centralwidget;
  for (QAction* a : {ui->actionEquidistant, ui->actionFixedPT, ui->actionPartDelta})
    connect(a, &QAction::triggered, view, &DocumentView::choosePartitionKind);
  connect(zoomSlider, &QwtSlider::valueChanged, ft, &FtransformWidget::setZoom);
  connect(ui->domainWidget, &ConfigWidgetBase::inputsChanged, view, &DocumentView::takeDomain);
  connect(ui->actionFormulaBuilder, &QAction::triggered, formulaBuilder, &QWidget::show);
  connect(ui->actionPreferences, &QAction::triggered, preferences, &QWidget::show);
  connect(formulaBuilder, &QDialog::accepted, view, &DocumentView::onFormulaBuilder_accepted);
  connect(formulaBuilder, &QDialog::rejected, view, &DocumentView::onFormulaBuilder_rejected);
  connect(formulaBuilder, &FormulaBuilderWidget::formulaRenamed, view,
          &DocumentView::onFormulaBuilder_renamed);
  connect(preferences, &QDialog::accepted, view, &DocumentView::onPreferences_accepted);
  connect(ui->actionOpenSession, &QAction::triggered, sessions, &SessionController::openWithDialog);
  connect(ui->actionSaveSession, &QAction::triggered, sessions, &SessionController::saveCurrent);
  connect(ui->actionSaveAsSession, &QAction::triggered, sessions, &SessionController::saveAs);
  connect(ui->actionOpenData, &QAction::triggered, view, &DocumentView::openData);
  connect(ui->actionCloseData, &QAction::triggered, view, &DocumentView::closeData);
  exporter = new ExportController(this, ft, ui->functionTableWidget, document, view,
                                  sessionPersistence, analysis);
  connect(ui->actionExportValues, &QAction::triggered, exporter, &ExportController::exportValues);
  connect(ui->actionExportPicture, &QAction::triggered, exporter, &ExportController::exportPicture);
  connect(ui->actionExportFigure, &QAction::triggered, exporter, &ExportController::exportFigure);
  connect(ui->actionCopyPlot, &QAction::triggered, exporter, &ExportController::copyPlot);
  connect(ui->actionCopyTable, &QAction::triggered, exporter, &ExportController::copyTable);
  // The table is empty while hidden.
  ui->actionCopyTable->setEnabled(false);
  setAcceptDrops(true);
  connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
  connect(ui->dockFunctionTable, &QDockWidget::visibilityChanged, view,
          &DocumentView::onFunctionTableVisibility_changed);
  connect(ui->ftDegreeSpin, QOverload<int>::of(&QSpinBox::valueChanged), view,
          &DocumentView::onFtDegreeSpin_changed);
  QCheckBox* const degreeBoxes[] = {ui->ft0ChBox, ui->ft1ChBox, ui->ft2ChBox, ui->ft3ChBox};
  for (int d = 0; d < 4; ++d)
    connect(degreeBoxes[d], &QCheckBox::stateChanged, view,
            [this, d](int state) { view->onFtDegreeChBox_changed(d, state); });
  connect(ui->basisCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), view,
          &DocumentView::onBasisCbox_changed);
  ui->functionTableWidget->setController(ft);
  connect(ui->functionTableWidget, &FunctionTableWidget::componentChanged, ft,
          &FtransformWidget::onComponent_changed);
  // After the controller: an edited component recomputes without announcing it.
  connect(ui->functionTableWidget, &FunctionTableWidget::componentChanged, analysis,
          &AnalysisFeatures::refresh);
  connect(ui->actionShowLegend, &QAction::toggled, ft->plotWidget(), &PlotWidget::setLegendVisible);
  for (QAction* a : legendGroup->actions())
    connect(a, &QAction::triggered, view, &DocumentView::onLegendPosition_changed);
  connect(ui->actionAbout, &QAction::triggered, about, &QWidget::show);
  UserGuide::attach(ui->actionUserGuide, this);
  randomDataAction.reset(new QAction(tr("Rando&m data")));
  connect(randomDataAction.data(), &QAction::triggered, view,
          &DocumentView::generateRandomFunction);
  ui->menuFile->insertAction(ui->actionCloseData, randomDataAction.data());
}

void MainWindow::watchForChanges()
{
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

// --------------------------------------------------------------- settings

void MainWindow::restoreSettings()
{
  view->resetSelectors(1);
  globalPersistence->load();
  view->useFormulaDirectory();

  auto s = UserSettings::open();
  s->beginGroup(QStringLiteral("MainWindow"));
  restoreState(s->value(QStringLiteral("windowState")).toByteArray());
  restoreGeometry(s->value(QStringLiteral("geometry")).toByteArray());
  sessions->recent()->load(*s);
  s->endGroup();
  view->start();
}

bool MainWindow::writeSettings()
{
  bool ok = globalPersistence->save();
  auto s = UserSettings::open();
  s->beginGroup(QStringLiteral("MainWindow"));
  s->setValue(QStringLiteral("geometry"), saveGeometry());
  s->setValue(QStringLiteral("windowState"), saveState());
  sessions->recent()->save(*s);
  s->endGroup();
  s->sync();
  ok = ok && s->status() == QSettings::NoError;
  if (!ok)
    sessions->reportUnwritableSettings();
  return ok;
}

// ---------------------------------------------------------------- sessions

QString MainWindow::defaultSessionPath()
{
  return SessionController::defaultSessionPath();
}

void MainWindow::setDefaultSessionDirectory(const QString& dir)
{
  SessionController::setDefaultDirectory(dir);
}

QString MainWindow::currentSessionFile() const
{
  return sessions->file();
}

QStringList MainWindow::recentSessions() const
{
  return sessions->recent()->paths();
}

bool MainWindow::saveSession(const QString& path)
{
  return sessions->save(path);
}

bool MainWindow::openSession(const QString& path)
{
  return sessions->open(path);
}

void MainWindow::ctorFinished()
{
  view->applyDegree(ui->ftDegreeSpin->value());
  const QString file = std::exchange(startupFile, QString());
  if (Launch::kindOf(file) == Launch::Session && openFile(file))
    return;
  sessions->openStartupSession();
  if (Launch::kindOf(file) == Launch::Data)
    openFile(file);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
  // A session that is saved on exit loses nothing; any other asks first.
  if (!sessions->savesOnExit() && !sessions->confirmUnsavedWork()) {
    event->ignore();
    return;
  }
  writeSettings();
  sessions->saveOnExit();
  QMainWindow::closeEvent(event);
}

// ------------------------------------------- files from the desktop

bool MainWindow::openFile(const QString& path)
{
  switch (Launch::kindOf(path)) {
  case Launch::Session:
    return sessions->openConfirmed(path);
  case Launch::Data:
    // What "Open data" does with the choices its dialog starts with.
    return view->openDataFile(path, 0);
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

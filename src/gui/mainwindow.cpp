#include "gui/mainwindow.h"

#include "ui_mainwindow.h"

#include "gui/aboutwidget.h"
#include "gui/analysis/analysisfeatures.h"
#include "gui/analysis/errorcurves.h"
#include "gui/appconstants.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/formulabuilderwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/guide/userguide.h"
#include "gui/history/edithistory.h"
#include "gui/history/windoweditstate.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/launch.h"
#include "gui/preferenceswidget.h"
#include "gui/recentsessions.h"
#include "gui/widgetpersistence.h"
#include "midle/numberreader/dataimport.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include <qwt_slider.h>

#include <algorithm>
#include <ctime>
#include <utility>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), zoomSlider(new QwtSlider(this)),
      formulaBuilder(new FormulaBuilderWidget), preferences(new PreferencesWidget),
      about(new AboutWidget), sessionPersistence(new WidgetPersistence(this)),
      globalPersistence(new WidgetPersistence(this))
{
  ui->setupUi(this);

  ui->menuRecentSession->removeAction(ui->actionDefault);
  delete ui->actionDefault;
  ui->actionDefault = nullptr;
  recent = new RecentSessions(ui->menuRecentSession,
                              [this] { return preferences->maxRecentSessions(); });
  connect(recent, &RecentSessions::openRequested, this, [this](const QString& path) {
    if (confirmUnsavedWork())
      openSession(path);
  });
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
  sessionPersistence->addWidget(preferences->pages()->widget(0),
                                QStringLiteral("Preferences_page0"));
  sessionPersistence->addWidget(preferences->pages()->widget(1),
                                QStringLiteral("Preferences_page1"));
  sessionPersistence->addWidget(ui->domainWidget, QStringLiteral("DomainWidget"));
  sessionPersistence->addWidget(ui->fnSelector, QStringLiteral("FunctionSelector"));
  sessionPersistence->addWidget(ui->ftDegreeWidget, QStringLiteral("FtDegreeWidget"));
  sessionPersistence->setHeldGroups(exportDialogGroups());

  zoomSlider->setOrientation(Qt::Horizontal);
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
  analysis = new AnalysisFeatures(this, ft, ui->menuWindow, ui->dockFunctionTable);
  // Before the settings are restored: the window state places the history's dock too.
  editState = new WindowEditState(this);
  editHistory = new EditHistory(this, ft, editState);
  editHistory->addActions(ui->menuEdit, ui->menuWindow);

  ft->setPartition(currentPartitionRecord(), document.domain);
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

  for (QAction* a : {ui->actionEquidistant, ui->actionFixedPT, ui->actionPartDelta})
    connect(a, &QAction::triggered, this, &MainWindow::onPartitionType_changed);
  connect(zoomSlider, &QwtSlider::valueChanged, ft, &FtransformWidget::setZoom);
  connect(ui->domainWidget, &ConfigWidgetBase::inputsChanged, this, &MainWindow::onDomain_changed);
  connect(ui->actionFormulaBuilder, &QAction::triggered, formulaBuilder, &QWidget::show);
  connect(ui->actionPreferences, &QAction::triggered, preferences, &QWidget::show);
  connect(formulaBuilder, &QDialog::accepted, this, &MainWindow::onFormulaBuilder_accepted);
  connect(formulaBuilder, &QDialog::rejected, this, &MainWindow::onFormulaBuilder_rejected);
  connect(formulaBuilder, &FormulaBuilderWidget::formulaRenamed, this,
          &MainWindow::onFormulaBuilder_renamed);
  connect(preferences, &QDialog::accepted, this, &MainWindow::onPreferences_accepted);
  connect(ui->actionOpenSession, &QAction::triggered, this,
          &MainWindow::onActionOpenSession_triggered);
  connect(ui->actionSaveSession, &QAction::triggered, this,
          &MainWindow::onActionSaveSession_triggered);
  connect(ui->actionSaveAsSession, &QAction::triggered, this,
          &MainWindow::onActionSaveAsSession_triggered);
  connect(ui->actionOpenData, &QAction::triggered, this, &MainWindow::onActionOpenData_triggered);
  connect(ui->actionCloseData, &QAction::triggered, this, &MainWindow::onActionCloseData_triggered);
  connect(ui->actionExportValues, &QAction::triggered, this,
          &MainWindow::onActionExportValues_triggered);
  connect(ui->actionExportPicture, &QAction::triggered, this,
          &MainWindow::onActionExportPicture_triggered);
  connect(ui->actionExportFigure, &QAction::triggered, this,
          &MainWindow::onActionExportFigure_triggered);
  connect(ui->actionCopyPlot, &QAction::triggered, this, &MainWindow::onActionCopyPlot_triggered);
  connect(ui->actionCopyTable, &QAction::triggered, this, &MainWindow::onActionCopyTable_triggered);
  // The table is empty while hidden.
  ui->actionCopyTable->setEnabled(false);
  setTableCellValues();
  setAcceptDrops(true);
  connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
  connect(ui->dockFunctionTable, &QDockWidget::visibilityChanged, this,
          &MainWindow::onFunctionTableVisibility_changed);
  connect(ui->ftDegreeSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
          &MainWindow::onFtDegreeSpin_changed);
  QCheckBox* const degreeBoxes[] = {ui->ft0ChBox, ui->ft1ChBox, ui->ft2ChBox, ui->ft3ChBox};
  for (int d = 0; d < 4; ++d)
    connect(degreeBoxes[d], &QCheckBox::stateChanged, this, [this, d](int state) {
      setDegreeColumnsVisible(d, state);
      onFtDegreeChBox_changed(state);
    });
  connect(ui->basisCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          &MainWindow::onBasisCbox_changed);
  ui->functionTableWidget->setController(ft);
  connect(ui->functionTableWidget, &FunctionTableWidget::componentChanged, ft,
          &FtransformWidget::onComponent_changed);
  // After the controller: an edited component recomputes without announcing it.
  connect(ui->functionTableWidget, &FunctionTableWidget::componentChanged, analysis,
          &AnalysisFeatures::refresh);
  connect(ui->actionShowLegend, &QAction::toggled, ft->plotWidget(), &PlotWidget::setLegendVisible);
  for (QAction* a : legendGroup->actions())
    connect(a, &QAction::triggered, this, &MainWindow::onLegendPosition_changed);
  connect(ui->actionAbout, &QAction::triggered, about, &QWidget::show);
  UserGuide::attach(ui->actionUserGuide, this);
  randomDataAction.reset(new QAction(tr("Rando&m data")));
  connect(randomDataAction.data(), &QAction::triggered, this, &MainWindow::generateRandomFunction);
  ui->menuFile->insertAction(ui->actionCloseData, randomDataAction.data());

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
  updateTabOrder();

  updateWindowTitle();
  if (ui->actionShowLegend->isChecked())
    ft->plotWidget()->setLegendVisible(true);

  QTimer::singleShot(0, this, &MainWindow::ctorFinished);
}

MainWindow::~MainWindow()
{
  // Nothing the window does while it goes away is a step.
  delete editHistory;
  editHistory = nullptr;
  delete editState;
  editState = nullptr;
  delete analysis;
  analysis = nullptr;
  // A line edit losing focus during destruction would report into a
  // half-destroyed window.
  disconnect(ui->domainWidget, nullptr, this, nullptr);
  disconnect(ui->dockFunctionTable, nullptr, this, nullptr);
  disconnectSelectors();
  ui->centralwidget->setPartition({}, nullptr);
  if (!document.functions.isEmpty())
    ui->centralwidget->removeFunctions(document.functions);
  randomDataAction.reset();
  delete formulaBuilder;
  delete preferences;
  delete about;
  delete ui;
}

QStringList MainWindow::recentSessions() const
{
  return recent->paths();
}

void MainWindow::ctorFinished()
{
  applyDegree(ui->ftDegreeSpin->value());
  const QString file = std::exchange(startupFile, QString());
  if (Launch::kindOf(file) == Launch::Session && openFile(file))
    return;
  openStartupSession();
  if (Launch::kindOf(file) == Launch::Data)
    openFile(file);
}

// ---------------------------------------------------------------- records

QAction* MainWindow::kindAction(DataHolders::PartitionKind kind) const
{
  switch (kind) {
  case DataHolders::PartitionKind::Generic:
    return ui->actionEquidistant; // the generic Ruspini partition
  case DataHolders::PartitionKind::Equidistant:
    return ui->actionFixedPT; // the equidistant Ruspini partition
  case DataHolders::PartitionKind::Custom:
    return ui->actionPartDelta; // the custom partition
  }
  return nullptr;
}

QSharedPointer<DataHolders::Partitions::PartBase> MainWindow::currentPartitionRecord() const
{
  for (DataHolders::PartitionKind kind : DataHolders::partitionKinds)
    if (kindAction(kind)->isChecked())
      return document.record(kind);
  return {};
}

DataHolders::PartitionKind MainWindow::currentPartitionKind() const
{
  const auto record = currentPartitionRecord();
  return record ? record->kind() : DataHolders::PartitionKind::Generic;
}

void MainWindow::installPartition()
{
  ui->centralwidget->setPartition(currentPartitionRecord(), document.domain);
  // The partition editor is a new one: the component table links to it again.
  linkNodeSelection(tableLinked);
}

void MainWindow::setFunctionType(FunctionSource type)
{
  // The source decides for the inputs as a whole, children included.
  ui->domainWidget->restoreEnabledStates();
  ui->fnSelector->restoreEnabledStates();
  ui->domainWidget->setEnabled(true);
  ui->fnSelector->setEnabled(true);
  ui->actionFormulaBuilder->setEnabled(true);
  ui->actionCloseData->setEnabled(true);
  if (type == FunctionSource::TableData) {
    ui->domainWidget->setEnabled(false);
    ui->fnSelector->setEnabled(false);
    ui->actionFormulaBuilder->setEnabled(false);
  } else {
    ui->actionCloseData->setEnabled(false);
  }
  document.source = type;
}

void MainWindow::clearFunctions()
{
  if (!ui->centralwidget->functions().isEmpty())
    ui->centralwidget->removeFunctions(ui->centralwidget->functions());
  document.clear();
}

void MainWindow::rebuildFunctions(Domains::EnumerationBase<double>* newDomain)
{
  document.domain = newDomain;
  for (int i = 0; i < ui->fnSelector->count(); ++i) {
    const QString name = ui->fnSelector->selection(i);
    document.insertFormula(i, name, expressionOf(name));
  }
}

QList<Fn::MathFn<double, double>*> MainWindow::drawnFunctions() const
{
  if (document.source != FunctionSource::Formulas)
    return document.functions;
  QList<Fn::MathFn<double, double>*> drawn;
  for (int i = 0; i < document.functions.size(); ++i)
    if (i >= ui->fnSelector->count() || !ui->fnSelector->selection(i).isEmpty())
      drawn.append(document.functions.at(i));
  return drawn;
}

void MainWindow::showFormulaDomain()
{
  if (document.source != FunctionSource::Formulas || !document.domainRecord ||
      ui->domainWidget->isValid())
    return;
  const auto text = [](double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
  };
  ui->domainWidget->showTexts(text(document.domainRecord->low), text(document.domainRecord->high),
                              QString::number(document.domainRecord->count));
}

QString MainWindow::expressionOf(const QString& name) const
{
  return formulaBuilder->formulaNames().contains(name) ? formulaBuilder->expression(name)
                                                       : document.sessionExpression(name);
}

QStringList MainWindow::formulaNames() const
{
  return document.formulaNames(formulaBuilder->formulaNames());
}

// -------------------------------------------------------------- selectors

void MainWindow::disconnectSelectors()
{
  disconnect(ui->fnSelector, &FunctionSelectorWidget::selectionChanged, this,
             &MainWindow::onSelectedFunction_changed);
  disconnect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, this,
             &MainWindow::onSelector_added);
  disconnect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, this,
             &MainWindow::onSelector_removed);
}

void MainWindow::resetSelectors(int count)
{
  clearFunctions();
  disconnectSelectors();
  ui->fnSelector->setSelectorCount(count);
  ui->fnSelector->setItems(formulaNames());
  setTableColumnCount(count * ui->ftDegreeSpin->maximum());
  connect(ui->centralwidget, &FtransformWidget::ftransformRefreshed, this,
          &MainWindow::refreshCoefTable, Qt::UniqueConnection);
}

void MainWindow::connectSelectors(double zoom)
{
  // The slider keeps the zoom within the preferences' limit.
  zoomSlider->setValue(zoom);
  ui->centralwidget->setZoom(zoomSlider->value());
  disconnectSelectors();
  connect(ui->fnSelector, &FunctionSelectorWidget::selectionChanged, this,
          &MainWindow::onSelectedFunction_changed);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, this,
          &MainWindow::onSelector_added);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, this,
          &MainWindow::onSelector_removed);
  setTableColumnCount(ui->fnSelector->count() *
                      FunctionTableWidget::columnsPerFunction(ui->centralwidget->visibleDegrees()));
}

void MainWindow::setTableColumnCount(int count)
{
  ui->functionTableWidget->table()->setColumnCount(qMax(0, count));
}

void MainWindow::onSelectedFunction_changed(int index, QString text)
{
  if (index < 0 || index >= document.functions.size())
    return;
  Fn::MathFn<double, double>* fn = document.functions.at(index);
  const QString expression = expressionOf(text);
  SessionDocument::setExpression(fn, expression);
  if (QComboBox* box = ui->fnSelector->selector(index))
    box->setToolTip(expression);
  FtransformWidget* ft = ui->centralwidget;
  document.names.insert(fn, text);
  if (ft->functions().contains(fn))
    ft->refreshAll();
  else
    ft->addFunctions({fn});
  if (tableLinked)
    refreshCoefTable();
  nameFunctionCurves();
  ft->checkDegrees();
}

void MainWindow::onSelector_added(int index)
{
  if (!document.domain)
    return;
  // Empty until a formula is picked: made, but not handed to the controller.
  document.insertFormula(index, tr("Unknown name"), QStringLiteral("0"));
  refreshCoefTable();
  QTimer::singleShot(0, this, &MainWindow::updateTabOrder);
}

void MainWindow::onSelector_removed(int index)
{
  if (index < 0 || index >= document.functions.size())
    return;
  Fn::MathFn<double, double>* fn = document.functions.takeAt(index);
  ui->centralwidget->removeFunctions({fn});
  document.names.remove(fn);
  delete fn;
  refreshCoefTable();
}

// ----------------------------------------------------------------- inputs

void MainWindow::onDomain_changed()
{
  const auto record = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (!record || !ui->domainWidget->isValid())
    return;
  document.moveRecords(record);

  clearFunctions();
  rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
  installPartition();
  ui->centralwidget->addFunctions(drawnFunctions());
  updateTabOrder();
  refreshCoefTable();
}

void MainWindow::onPartitionType_changed(bool)
{
  document.pointRecordsAtDomain();
  FtransformWidget* ft = ui->centralwidget;
  QObject* s = sender();
  bool installed = false;
  for (DataHolders::PartitionKind kind : DataHolders::partitionKinds) {
    if (s == kindAction(kind)) {
      ft->setPartition(document.record(kind), document.domain);
      installed = true;
    }
  }
  if (!installed)
    installPartition();
  ft->refreshAll();
  linkNodeSelection(tableLinked);
  updateTabOrder();
}

void MainWindow::updateTabOrder()
{
  // The form's reading order: domain fields, Compute, zoom, function
  // selectors, degree controls.
  if (QWidget* last = ui->domainWidget->lastInputWidget())
    setTabOrder(last, ui->computeBtn);
  setTabOrder(ui->computeBtn, zoomSlider);
  QWidget* previous = zoomSlider;
  for (QWidget* w : ui->fnSelector->findChildren<QWidget*>()) {
    if (w->window() == this && (w->focusPolicy() & Qt::TabFocus)) {
      setTabOrder(previous, w);
      previous = w;
    }
  }
  for (QWidget* w : {static_cast<QWidget*>(ui->ftDegreeSpin), static_cast<QWidget*>(ui->ft0ChBox),
                     static_cast<QWidget*>(ui->ft1ChBox), static_cast<QWidget*>(ui->ft2ChBox),
                     static_cast<QWidget*>(ui->ft3ChBox), static_cast<QWidget*>(ui->basisCbox)}) {
    setTabOrder(previous, w);
    previous = w;
  }
}

// ---------------------------------------------------------------- degrees

int MainWindow::degreeMask() const
{
  int mask = 0;
  if (ui->ft0ChBox->isChecked())
    mask |= 1;
  if (ui->ft1ChBox->isChecked())
    mask |= 2;
  if (ui->ft2ChBox->isChecked())
    mask |= 4;
  if (ui->ft3ChBox->isChecked())
    mask |= 8;
  return mask;
}

void MainWindow::applyDegree(int degree)
{
  QCheckBox* boxes[] = {ui->ft0ChBox, ui->ft1ChBox, ui->ft2ChBox, ui->ft3ChBox};
  for (QCheckBox* b : boxes)
    b->hide();
  for (int i = 0; i < 4; ++i)
    if (i <= degree)
      boxes[i]->show();
  for (int i = 0; i < 4; ++i)
    if (i > degree)
      boxes[i]->setChecked(false);
}

void MainWindow::onFtDegreeSpin_changed(int degree)
{
  applyDegree(degree);
  FtransformWidget* ft = ui->centralwidget;
  ft->setMaxDegree(degree);
  ft->setVisibleDegrees(degreeMask());
  ft->refreshAll();
}

void MainWindow::onFtDegreeChBox_changed(int)
{
  ui->centralwidget->setVisibleDegrees(degreeMask());
}

// The combo box lists the bases in the order of the enumeration, read by
// index so that no label is ever parsed.
void MainWindow::onBasisCbox_changed(int index)
{
  ui->centralwidget->setHigherDegreeBasis(index == 1 ? Fn::HigherDegreeBasis::ClosedForm
                                                     : Fn::HigherDegreeBasis::Orthogonal);
}

void MainWindow::setHigherDegreeBasis(Fn::HigherDegreeBasis basis)
{
  {
    const QSignalBlocker quiet(ui->basisCbox);
    ui->basisCbox->setCurrentIndex(basis == Fn::HigherDegreeBasis::ClosedForm ? 1 : 0);
  }
  ui->centralwidget->setHigherDegreeBasis(basis);
}

void MainWindow::setDegreeColumnsVisible(int degree, int state)
{
  ui->functionTableWidget->setDegreeColumnsVisible(
      ui->fnSelector->count(), ui->centralwidget->visibleDegrees(), degree, state == Qt::Checked);
}

// ---------------------------------------------------------- component table

void MainWindow::onFunctionTableVisibility_changed(bool visible)
{
  ui->actionCopyTable->setEnabled(visible);
  linkNodeSelection(visible);
  if (visible) {
    refreshCoefTable();
    return;
  }
  if (PartitionWidgetBase* pw = ui->centralwidget->partitionWidget())
    if (PartitionEditor* editor = pw->partitionEditor())
      editor->highlightNode(-1);
  ui->functionTableWidget->clearTable();
}

void MainWindow::linkNodeSelection(bool link)
{
  disconnect(nodeSelectedLink);
  disconnect(rowSelectedLink);
  tableLinked = link;
  if (!link)
    return;
  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  PartitionEditor* editor = pw ? pw->partitionEditor() : nullptr;
  if (!editor)
    return;
  FunctionTableWidget* table = ui->functionTableWidget;
  nodeSelectedLink =
      connect(editor, &PartitionEditor::nodeSelected, table, &FunctionTableWidget::selectRow);
  rowSelectedLink = connect(table, &FunctionTableWidget::selectedRowChanged, editor,
                            &PartitionEditor::highlightNode);
}

void MainWindow::nameFunctionCurves()
{
  PlotWidget* plot = ui->centralwidget->plotWidget();
  for (int i = 0; i < document.functions.size(); ++i) {
    CurveInfoBase* info = plot->curveInfo(document.functions.at(i));
    if (!info)
      continue;
    QString name = document.names.value(document.functions.at(i));
    if (document.source == FunctionSource::TableData && name.isEmpty())
      name = DataImport::functionName(i, document.functions.size());
    if (info->name() != name)
      info->setName(name);
  }
  ui->centralwidget->nameResultCurves();
  if (analysis && analysis->curves())
    analysis->curves()->nameCurves();
}

void MainWindow::refreshCoefTable()
{
  // Every path that replaces the functions ends here (data import included).
  nameFunctionCurves();
  if (analysis)
    analysis->refresh();
  if (!tableLinked)
    return;
  FtransformWidget* ft = ui->centralwidget;
  // Without a partition (a shape its kind cannot build) there is nothing to list.
  if (!ft->partition() || !document.domain) {
    ui->functionTableWidget->clearTable();
    return;
  }
  ft->showComponentTable(ui->functionTableWidget, [this](const Fn::MathFn<double, double>* fn) {
    return document.source == FunctionSource::Formulas ? document.names.value(fn)
                                                       : QStringLiteral("DataFile");
  });
}

// ------------------------------------------------------------------ legend

void MainWindow::showLegendAlignment(int alignment)
{
  const int corner = int(PlotWidget::legendCorner(alignment));
  for (QAction* a : legendGroup->actions())
    if (a->data().toInt() == corner)
      a->setChecked(true);
}

int MainWindow::legendAlignment() const
{
  const QAction* checked = legendGroup->checkedAction();
  return checked ? checked->data().toInt() : 0;
}

void MainWindow::onLegendPosition_changed()
{
  const int alignment = legendAlignment();
  if (alignment)
    ui->centralwidget->plotWidget()->setLegendAlignment(Qt::Alignment(alignment));
}

// ------------------------------------------------------------ preferences

void MainWindow::onPreferences_accepted()
{
  applyPreferences(true);
}

void MainWindow::applyPreferences(bool fromDialog)
{
  FtransformWidget* ft = ui->centralwidget;
  ft->setStyles(preferences->backgroundColor(), preferences->functionPen(),
                preferences->transformPen(0), preferences->transformPen(1),
                preferences->transformPen(2), preferences->transformPen(3));
  ft->setShowComponents(preferences->showComponents());
  analysis->setErrorCurvesShown(preferences->showErrorCurves());
  analysis->setDegreePens({preferences->transformPen(0), preferences->transformPen(1),
                           preferences->transformPen(2), preferences->transformPen(3)});
  useFormulaDirectory();
  const int z = qMax(2, preferences->maxZoom());
  zoomSlider->setScale(1.0, double(z));
  zoomSlider->setTotalSteps(uint((z - 1) * 2));
  ft->plotWidget()->setGridVisible(preferences->showGrid());
  ft->plotWidget()->setLegendIconSize(preferences->legendIconSize());
  ui->functionTableWidget->setPrecision(preferences->tablePrecision());
  if (fromDialog) {
    ft->refreshAll();
    linkNodeSelection(tableLinked);
    if (PartitionWidgetBase* pw = ft->partitionWidget())
      if (PartitionEditor* editor = pw->partitionEditor())
        editor->plot()->replot();
  } else {
    ft->replot();
  }
}

// ------------------------------------------------------------ data source

void MainWindow::generateRandomFunction()
{
  showFormulaDomain();
  clearFunctions();
  setFunctionType(FunctionSource::TableData);
  document.makeRandomData(quint32(std::time(nullptr)));
  installPartition();
  ui->centralwidget->addFunctions(document.functions);
  refreshCoefTable();
  updateWindowTitle();
}

void MainWindow::onActionCloseData_triggered()
{
  document.dataFile = DataFileInfo();
  setFunctionType(FunctionSource::Formulas);
  // The formulas come back on what the domain input shows; an input that
  // gives no domain (a session of an older program) shows the default one.
  const auto record = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (record && ui->domainWidget->isValid()) {
    document.domainRecord = record;
  } else {
    document.domainRecord = QSharedPointer<DataHolders::Domains::Equid>::create();
    ui->domainWidget->showTexts(QString::number(document.domainRecord->low),
                                QString::number(document.domainRecord->high),
                                QString::number(document.domainRecord->count));
  }
  document.resetRecords();
  clearFunctions();
  rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
  installPartition();
  ui->centralwidget->addFunctions(drawnFunctions());
  updateTabOrder();
  refreshCoefTable();
  updateWindowTitle();
}

// ------------------------------------------------------- formula builder

void MainWindow::onFormulaBuilder_renamed(QString oldName, QString newName)
{
  renames.insert(oldName, newName);
}

void MainWindow::onFormulaBuilder_accepted()
{
  // The formulas are not the session's work: no step, and the steps name
  // renamed formulas by their new names.
  EditHistory::Pause holdHistory(editHistory);
  editHistory->renameFunctions(renames);
  QStringList former;
  for (int i = 0; i < ui->fnSelector->count(); ++i)
    former.append(ui->fnSelector->selection(i));
  ui->fnSelector->setItems(formulaNames());
  for (int i = 0; i < former.size(); ++i) {
    if (!renames.contains(former.at(i)))
      continue;
    // A formula renamed twice before OK ends under its last name.
    QString name = renames.value(former.at(i));
    for (int hops = 0; renames.contains(name) && hops < renames.size(); ++hops)
      name = renames.value(name);
    ui->fnSelector->select(i, name);
  }
  renames.clear();
}

void MainWindow::onFormulaBuilder_rejected()
{
  renames.clear();
}

// ------------------------------------------------------------------ window

void MainWindow::updateWindowTitle()
{
  QString title = QString::fromLatin1(AppConstants::productName);
  if (!sessionFile.isEmpty())
    title += QStringLiteral(" - ") + QFileInfo(sessionFile).fileName();
  if (!document.dataFile.dataFile.isEmpty())
    title += QStringLiteral(" - ") + document.dataFile.filePath();
  setWindowTitle(title + QStringLiteral("[*]"));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
  // A session that is saved on exit loses nothing; any other asks first.
  if (!savesOnExit() && !confirmUnsavedWork()) {
    event->ignore();
    return;
  }
  writeSettings();
  saveOnExit();
  QMainWindow::closeEvent(event);
}

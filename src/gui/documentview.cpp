#include "gui/documentview.h"

#include "ui_mainwindow.h"

#include "gui/analysis/analysisfeatures.h"
#include "gui/analysis/errorcurves.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "gui/formulabuilderwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/history/edithistory.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/preferenceswidget.h"
#include "gui/sessioncontroller.h"
#include "gui/usersettings.h"
#include "midle/numberreader/dataimport.h"
#include "midle/session/sessionlookup.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>

#include <qwt_slider.h>

#include <ctime>

DocumentView::DocumentView(QMainWindow* mainWindow, Ui::MainWindow* form, QwtSlider* slider,
                           SessionDocument& doc, FormulaBuilderWidget* builder,
                           PreferencesWidget* prefs, QActionGroup* legend)
    : QObject(mainWindow), window(mainWindow), ui(form), zoomSlider(slider), document(doc),
      formulaBuilder(builder), preferences(prefs), legendGroup(legend)
{
}

void DocumentView::start()
{
  zoomSlider->setScale(1.0, 5.0);
  zoomSlider->setTotalSteps(8);

  // The computation follows the domain input from the start, also when no
  // start-up session is opened.
  const auto input = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (input && ui->domainWidget->isValid()) {
    document.domainRecord = input;
    document.resetRecords();
  }
  remakeFormulas();
  ui->fnSelector->setItems(formulaNames());
  connectSelectors(1.0);
  nameFunctionCurves();
}

void DocumentView::updateDocument()
{
  document.domainTexts = domainTexts();
  document.selections.clear();
  for (int i = 0; i < ui->fnSelector->count(); ++i) {
    const QString name = ui->fnSelector->selection(i);
    document.selections.append({name, expressionOf(name), true});
  }
  document.kind = currentKind();
  FtransformWidget* ft = ui->centralwidget;
  // The editor holds the nodes of a drag or a typed node until asked.
  if (PartitionWidgetBase* pw = ft->partitionWidget())
    pw->data();
  document.zoom = zoomSlider->value();
  document.degree = ui->ftDegreeSpin->value();
  document.shownDegrees = degreeMask();
  document.basis = ft->higherDegreeBasis();
  document.showLegend = ui->actionShowLegend->isChecked();
  document.legendAlignment = int(ft->plotWidget()->legendAlignment());
  document.edits.clear();
  const QList<Function*>& functions = ft->functions();
  const auto& all = ft->editedComponents().all();
  for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
    const int index = functions.indexOf(const_cast<Function*>(it.key().fn));
    if (index >= 0 && !it->isEmpty())
      document.edits.insert({index, it.key().flag}, it.value());
  }
}

DomainTexts DocumentView::domainTexts() const
{
  DomainTexts t;
  if (auto* e = ui->domainWidget->findChild<QLineEdit*>(QStringLiteral("lowEdt")))
    t.low = e->text();
  if (auto* e = ui->domainWidget->findChild<QLineEdit*>(QStringLiteral("highEdt")))
    t.high = e->text();
  if (auto* e = ui->domainWidget->findChild<QLineEdit*>(QStringLiteral("discrEdt")))
    t.discretization = e->text();
  return t;
}

// ---------------------------------------------------------------- records

QAction* DocumentView::kindAction(DataHolders::PartitionKind kind) const
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

QSharedPointer<DataHolders::Partitions::PartBase> DocumentView::currentRecord() const
{
  for (DataHolders::PartitionKind kind : DataHolders::partitionKinds)
    if (kindAction(kind)->isChecked())
      return document.record(kind);
  return {};
}

DataHolders::PartitionKind DocumentView::currentKind() const
{
  const auto record = currentRecord();
  return record ? record->kind() : DataHolders::PartitionKind::Generic;
}

void DocumentView::installPartition()
{
  ui->centralwidget->setPartition(currentRecord(), document.domain);
  // The partition editor is a new one: the component table links to it again.
  linkNodeSelection(tableLinked);
}

void DocumentView::choosePartitionKind()
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

void DocumentView::setFunctionType(FunctionSource type)
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

// -------------------------------------------------------------- functions

void DocumentView::clearFunctions()
{
  if (!ui->centralwidget->functions().isEmpty())
    ui->centralwidget->removeFunctions(ui->centralwidget->functions());
  document.clear();
}

void DocumentView::rebuildFunctions(SessionDocument::Domain* newDomain)
{
  document.domain = newDomain;
  for (int i = 0; i < ui->fnSelector->count(); ++i) {
    const QString name = ui->fnSelector->selection(i);
    document.insertFormula(i, name, expressionOf(name));
  }
}

QList<DocumentView::Function*> DocumentView::drawnFunctions() const
{
  if (document.source != FunctionSource::Formulas)
    return document.functions;
  QList<Function*> drawn;
  for (int i = 0; i < document.functions.size(); ++i)
    if (i >= ui->fnSelector->count() || !ui->fnSelector->selection(i).isEmpty())
      drawn.append(document.functions.at(i));
  return drawn;
}

void DocumentView::remakeFormulas()
{
  clearFunctions();
  rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
  installPartition();
  ui->centralwidget->addFunctions(drawnFunctions());
}

void DocumentView::showFormulaDomain()
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

QString DocumentView::expressionOf(const QString& name) const
{
  return formulaBuilder->formulaNames().contains(name) ? formulaBuilder->expression(name)
                                                       : document.sessionExpression(name);
}

QStringList DocumentView::formulaNames() const
{
  return document.formulaNames(formulaBuilder->formulaNames());
}

QStringList DocumentView::offerSessionFormulas(const QMap<QString, QVariant>& session,
                                               int selectorCount)
{
  QVector<FormulaFile::Entry> offered;
  for (const QString& name : formulaNames()) {
    const QString expression = expressionOf(name);
    offered.append({name, expression, !expression.isEmpty()});
  }
  return document.offerSessionFormulas(session, selectorCount, offered);
}

// -------------------------------------------------------------- selectors

void DocumentView::disconnectSelectors()
{
  disconnect(ui->fnSelector, &FunctionSelectorWidget::selectionChanged, this,
             &DocumentView::onSelectedFunction_changed);
  disconnect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, this,
             &DocumentView::onSelector_added);
  disconnect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, this,
             &DocumentView::onSelector_removed);
}

void DocumentView::resetSelectors(int count)
{
  clearFunctions();
  disconnectSelectors();
  ui->fnSelector->setSelectorCount(count);
  ui->fnSelector->setItems(formulaNames());
  setTableColumnCount(count * ui->ftDegreeSpin->maximum());
  connect(ui->centralwidget, &FtransformWidget::ftransformRefreshed, this,
          &DocumentView::refreshCoefTable, Qt::UniqueConnection);
}

void DocumentView::connectSelectors(double zoom)
{
  // The slider keeps the zoom within the preferences' limit.
  zoomSlider->setValue(zoom);
  ui->centralwidget->setZoom(zoomSlider->value());
  disconnectSelectors();
  connect(ui->fnSelector, &FunctionSelectorWidget::selectionChanged, this,
          &DocumentView::onSelectedFunction_changed);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, this,
          &DocumentView::onSelector_added);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, this,
          &DocumentView::onSelector_removed);
  setTableColumnCount(ui->fnSelector->count() *
                      FunctionTableWidget::columnsPerFunction(ui->centralwidget->visibleDegrees()));
}

void DocumentView::showExpressions(int count)
{
  for (int i = 0; i < count && i < ui->fnSelector->count(); ++i)
    if (QComboBox* box = ui->fnSelector->selector(i))
      box->setToolTip(expressionOf(ui->fnSelector->selection(i)));
}

void DocumentView::selectFunctions(const QStringList& names)
{
  for (int i = 0; i < names.size(); ++i)
    if (QComboBox* box = ui->fnSelector->selector(i);
        box && (names.at(i).isEmpty() || box->findText(names.at(i), Qt::MatchFixedString) >= 0))
      ui->fnSelector->select(i, names.at(i));
}

bool DocumentView::selectFunction(int index, const QString& name)
{
  FunctionSelectorWidget* selector = ui->fnSelector;
  const QComboBox* box = selector->selector(index);
  if (name.isEmpty() || !box || box->findText(name, Qt::MatchFixedString) < 0)
    return false;
  selector->select(index, name);
  return selector->selection(index) == name;
}

void DocumentView::showDomainTexts(const DomainTexts& texts)
{
  ui->domainWidget->showTexts(texts.low, texts.high, texts.discretization);
}

void DocumentView::showRestoredFunctions()
{
  connectSelectors(zoomSlider->value());
  showExpressions(ui->fnSelector->count());
  updateTabOrder();
  refreshCoefTable();
  emit sourceChanged();
}

void DocumentView::setTableColumnCount(int count)
{
  ui->functionTableWidget->table()->setColumnCount(qMax(0, count));
}

void DocumentView::onSelectedFunction_changed(int index, QString text)
{
  if (index < 0 || index >= document.functions.size())
    return;
  Function* fn = document.functions.at(index);
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

void DocumentView::onSelector_added(int index)
{
  if (!document.domain)
    return;
  // Empty until a formula is picked: made, but not handed to the controller.
  document.insertFormula(index, tr("Unknown name"), QStringLiteral("0"));
  refreshCoefTable();
  QTimer::singleShot(0, this, &DocumentView::updateTabOrder);
}

void DocumentView::onSelector_removed(int index)
{
  if (index < 0 || index >= document.functions.size())
    return;
  Function* fn = document.functions.takeAt(index);
  ui->centralwidget->removeFunctions({fn});
  document.names.remove(fn);
  delete fn;
  refreshCoefTable();
}

// ----------------------------------------------------------------- inputs

void DocumentView::takeDomain()
{
  const auto record = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (!record || !ui->domainWidget->isValid())
    return;
  document.moveRecords(record);
  remakeFormulas();
  updateTabOrder();
  refreshCoefTable();
}

void DocumentView::updateTabOrder()
{
  // The form's reading order: domain fields, Compute, zoom, function
  // selectors, degree controls.
  if (QWidget* last = ui->domainWidget->lastInputWidget())
    QWidget::setTabOrder(last, ui->computeBtn);
  QWidget::setTabOrder(ui->computeBtn, zoomSlider);
  QWidget* previous = zoomSlider;
  for (QWidget* w : ui->fnSelector->findChildren<QWidget*>()) {
    if (w->window() == window && (w->focusPolicy() & Qt::TabFocus)) {
      QWidget::setTabOrder(previous, w);
      previous = w;
    }
  }
  for (QWidget* w : {static_cast<QWidget*>(ui->ftDegreeSpin), static_cast<QWidget*>(ui->ft0ChBox),
                     static_cast<QWidget*>(ui->ft1ChBox), static_cast<QWidget*>(ui->ft2ChBox),
                     static_cast<QWidget*>(ui->ft3ChBox), static_cast<QWidget*>(ui->basisCbox)}) {
    QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

// ---------------------------------------------------------------- degrees

int DocumentView::degreeMask() const
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

void DocumentView::applyDegree(int degree)
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

void DocumentView::restoreDegrees(int degree, int shownDegrees)
{
  ui->ftDegreeSpin->setValue(degree);
  QCheckBox* boxes[] = {ui->ft0ChBox, ui->ft1ChBox, ui->ft2ChBox, ui->ft3ChBox};
  for (int d = 0; d < 4; ++d)
    boxes[d]->setChecked(shownDegrees & (1 << d));
}

void DocumentView::onFtDegreeSpin_changed(int degree)
{
  applyDegree(degree);
  FtransformWidget* ft = ui->centralwidget;
  ft->setMaxDegree(degree);
  ft->setVisibleDegrees(degreeMask());
  ft->refreshAll();
}

void DocumentView::onFtDegreeChBox_changed(int degree, int state)
{
  setDegreeColumnsVisible(degree, state);
  ui->centralwidget->setVisibleDegrees(degreeMask());
}

// The combo box lists the bases in the order of the enumeration, read by
// index so that no label is ever parsed.
void DocumentView::onBasisCbox_changed(int index)
{
  ui->centralwidget->setHigherDegreeBasis(index == 1 ? Fn::HigherDegreeBasis::ClosedForm
                                                     : Fn::HigherDegreeBasis::Orthogonal);
}

void DocumentView::setHigherDegreeBasis(Fn::HigherDegreeBasis basis)
{
  {
    const QSignalBlocker quiet(ui->basisCbox);
    ui->basisCbox->setCurrentIndex(basis == Fn::HigherDegreeBasis::ClosedForm ? 1 : 0);
  }
  ui->centralwidget->setHigherDegreeBasis(basis);
}

void DocumentView::setDegreeColumnsVisible(int degree, int state)
{
  ui->functionTableWidget->setDegreeColumnsVisible(
      ui->fnSelector->count(), ui->centralwidget->visibleDegrees(), degree, state == Qt::Checked);
}

// ---------------------------------------------------------- component table

void DocumentView::onFunctionTableVisibility_changed(bool visible)
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

void DocumentView::linkNodeSelection(bool link)
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

void DocumentView::nameFunctionCurves()
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

void DocumentView::refreshCoefTable()
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
  ft->showComponentTable(ui->functionTableWidget, [this](const Function* fn) {
    return document.source == FunctionSource::Formulas ? document.names.value(fn)
                                                       : QStringLiteral("DataFile");
  });
}

// ------------------------------------------------------------------ legend

void DocumentView::showLegendAlignment(int alignment)
{
  const int corner = int(PlotWidget::legendCorner(alignment));
  for (QAction* a : legendGroup->actions())
    if (a->data().toInt() == corner)
      a->setChecked(true);
}

int DocumentView::legendAlignment() const
{
  const QAction* checked = legendGroup->checkedAction();
  return checked ? checked->data().toInt() : 0;
}

void DocumentView::onLegendPosition_changed()
{
  const int alignment = legendAlignment();
  if (alignment)
    ui->centralwidget->plotWidget()->setLegendAlignment(Qt::Alignment(alignment));
}

// ------------------------------------------------------------ preferences

void DocumentView::applyPreferences(bool fromDialog)
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

void DocumentView::useFormulaDirectory()
{
  const QString dir = SessionController::formulaDirectory(preferences->formulasLocation());
  formulaBuilder->setFormulaDirectory(dir);
  SessionLookup::recordWindowFormulasDirectory(dir);
}

// ------------------------------------------------------------ data source

void DocumentView::generateRandomFunction()
{
  showFormulaDomain();
  clearFunctions();
  setFunctionType(FunctionSource::TableData);
  document.makeRandomData(quint32(std::time(nullptr)));
  installPartition();
  ui->centralwidget->addFunctions(document.functions);
  refreshCoefTable();
  emit sourceChanged();
}

void DocumentView::closeData()
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
  remakeFormulas();
  updateTabOrder();
  refreshCoefTable();
  emit sourceChanged();
}

void DocumentView::openData()
{
  DataFileOpenDialog dialog(window);
  dialog.setDirectory(UserSettings::dataDir());
  if (dialog.run() != QDialog::Accepted)
    return;
  const QString file = dialog.selectedFiles().value(0);
  if (file.isEmpty())
    return;
  UserSettings::rememberDataDir(file);
  openDataFile(file, dialog.xColumn());
}

bool DocumentView::openDataFile(const QString& file, int xColumn)
{
  DataFileInfo info(QFile::encodeName(file), true, xColumn);
  if (info.suffix == QLatin1String("txt"))
    info.showImportDialog = false;
  // A refused file changes nothing, the component table included.
  if (!loadDataFile(info, true))
    return false;
  setFunctionType(FunctionSource::TableData);
  ui->functionTableWidget->clearTable();
  refreshCoefTable();
  emit sourceChanged();
  history->changed();
  return true;
}

bool DocumentView::loadDataFile(DataFileInfo fileInfo, bool interactive)
{
  // Everything that can fail happens before the window is touched, so a
  // refused file leaves the functions, the domain and the data file as they were.
  DataImport import;
  const DataImport::Status status = import.run(fileInfo, [](NumberReaderBase& reader) {
    return CsvDialog::execFor(reader) == QDialog::Accepted;
  });
  for (const DataImport::Message& m : import.messages()) {
    if (m.icon == DataImport::Critical)
      Prompt::critical(window, m.title, m.text);
    else
      Prompt::information(window, m.title, m.text);
  }
  if (status != DataImport::Loaded)
    return false;

  clearFunctions();
  showFormulaDomain();
  document.takeData(import, !interactive);
  installPartition();
  ui->centralwidget->addFunctions(document.functions);
  return true;
}

// ------------------------------------------------------- formula builder

void DocumentView::onFormulaBuilder_renamed(QString oldName, QString newName)
{
  renames.insert(oldName, newName);
}

void DocumentView::onFormulaBuilder_accepted()
{
  // The formulas are not the session's work: no step, and the steps name
  // renamed formulas by their new names.
  EditHistory::Pause holdHistory(history);
  history->renameFunctions(renames);
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

#include "gui/history/windoweditstate.h"

#include "ui_mainwindow.h"

#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/mainwindow.h"

#include <QApplication>
#include <QComboBox>

#include <qwt_slider.h>

WindowEditState::WindowEditState(MainWindow* window) : w(window) {}

WindowEditState::~WindowEditState() = default;

EditState WindowEditState::editState()
{
  EditState s;
  const SessionValidator::Fallback texts = w->currentDomainTexts();
  s.lowText = texts.low;
  s.highText = texts.high;
  s.countText = texts.discretization;
  if (w->document.domainRecord) {
    s.low = w->document.domainRecord->low;
    s.high = w->document.domainRecord->high;
    s.count = w->document.domainRecord->count;
  }
  s.source = w->document.source;
  if (s.source == FunctionSource::TableData) {
    s.data = w->document.dataFile;
    if (s.data.dataFile.isEmpty())
      s.randomSeed = w->document.randomSeed;
  }
  const FunctionSelectorWidget* selector = w->ui->fnSelector;
  for (int i = 0; i < selector->count(); ++i)
    s.functions.append(selector->selection(i));

  s.kind = w->currentPartitionKind();
  FtransformWidget* ft = w->ui->centralwidget;
  // The editor holds the nodes of a drag or a typed node until asked.
  if (PartitionWidgetBase* pw = ft->partitionWidget())
    pw->data();
  s.generic = PartitionState::of(*w->document.genericRecord);
  s.equidistant = PartitionState::of(*w->document.equidistantRecord);
  s.custom = PartitionState::of(*w->document.customRecord);

  s.degree = w->ui->ftDegreeSpin->value();
  s.shownDegrees = w->degreeMask();
  s.basis = ft->higherDegreeBasis();
  const QList<FtransformWidget::Function*>& functions = ft->functions();
  const auto& all = ft->editedComponents().all();
  for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
    const int index = functions.indexOf(const_cast<FtransformWidget::Function*>(it.key().fn));
    if (index >= 0 && !it->isEmpty())
      s.edits.insert({index, it.key().flag}, it.value());
  }
  return s;
}

void WindowEditState::beginRestore()
{
  if (restoring++ > 0)
    return;
  pause.reset(new UnsavedWork::Pause(w->unsavedWork));
  w->ui->centralwidget->setBusy(true);
  QWidget* f = QApplication::focusWidget();
  PartitionWidgetBase* pw = w->ui->centralwidget->partitionWidget();
  focus = f && pw && pw->isAncestorOf(f) ? f : nullptr;
  focusName = focus ? focus->objectName() : QString();
}

void WindowEditState::endRestore()
{
  if (--restoring > 0)
    return;
  w->ui->centralwidget->setBusy(false);
  pause.reset();
  // A partition input that had the focus and was made anew keeps it, so that
  // the next key goes where the user left it.
  PartitionWidgetBase* pw = w->ui->centralwidget->partitionWidget();
  if (!focusName.isEmpty() && pw && (!focus || !pw->isAncestorOf(focus)))
    if (QWidget* same = pw->findChild<QWidget*>(focusName))
      same->setFocus(Qt::OtherFocusReason);
  focus = nullptr;
  focusName.clear();
}

void WindowEditState::writeRecords(const EditState& s)
{
  s.generic.applyTo(*w->document.genericRecord);
  s.equidistant.applyTo(*w->document.equidistantRecord);
  s.custom.applyTo(*w->document.customRecord);
  w->document.pointRecordsAtDomain();
}

void WindowEditState::checkKind(DataHolders::PartitionKind kind)
{
  w->kindAction(kind)->setChecked(true);
}

void WindowEditState::restorePartition(const EditState& s)
{
  writeRecords(s);
  checkKind(s.kind);
  w->installPartition();
  w->ui->centralwidget->refreshAll();
  w->updateTabOrder();
}

void WindowEditState::restoreFunctions(const EditState& s)
{
  FtransformWidget* ft = w->ui->centralwidget;
  // The selectors' signals are cut until the functions are made again.
  w->resetSelectors(s.functions.size());
  // A formula deleted since gives the first one, as the selectors do; an
  // empty name is a selector added and not chosen yet.
  for (int i = 0; i < s.functions.size(); ++i)
    if (QComboBox* box = w->ui->fnSelector->selector(i);
        box && (s.functions.at(i).isEmpty() ||
                box->findText(s.functions.at(i), Qt::MatchFixedString) >= 0))
      w->ui->fnSelector->select(i, s.functions.at(i));
  w->ui->domainWidget->showTexts(s.lowText, s.highText, s.countText);
  auto record = QSharedPointer<DataHolders::Domains::Equid>::create();
  record->low = s.low;
  record->high = s.high;
  record->count = s.count;
  w->document.domainRecord = record;
  writeRecords(s);
  checkKind(s.kind);
  w->document.dataFile = DataFileInfo();
  w->setFunctionType(s.source);

  bool made = false;
  if (s.source == FunctionSource::TableData) {
    w->document.domain = SessionDocument::makeDomain(w->document.domainRecord);
    if (s.data.dataFile.isEmpty()) {
      w->document.remakeRandomData(s.randomSeed);
      w->installPartition();
      ft->addFunctions(w->document.functions);
      made = true;
    } else {
      // The partition moves to the new domain before the data replaces it.
      w->installPartition();
      DataFileInfo info = s.data;
      info.showImportDialog = false;
      made = w->loadDataFile(info, false);
      if (!made)
        w->clearFunctions();
    }
  }
  if (!made) {
    // Formulas, or a data file that cannot be read again: the formulas on the domain input.
    w->setFunctionType(FunctionSource::Formulas);
    w->rebuildFunctions(SessionDocument::makeDomain(w->document.domainRecord));
    w->installPartition();
    ft->addFunctions(w->drawnFunctions());
  }
  w->connectSelectors(w->zoomSlider->value());
  for (int i = 0; i < w->ui->fnSelector->count(); ++i)
    if (QComboBox* box = w->ui->fnSelector->selector(i))
      box->setToolTip(w->expressionOf(w->ui->fnSelector->selection(i)));
  w->updateTabOrder();
  w->refreshCoefTable();
  w->updateWindowTitle();
}

bool WindowEditState::selectFunction(int index, const QString& name)
{
  FunctionSelectorWidget* selector = w->ui->fnSelector;
  const QComboBox* box = selector->selector(index);
  if (name.isEmpty() || !box || box->findText(name, Qt::MatchFixedString) < 0)
    return false;
  selector->select(index, name);
  return selector->selection(index) == name;
}

void WindowEditState::restoreBasis(Fn::HigherDegreeBasis basis)
{
  w->setHigherDegreeBasis(basis);
}

void WindowEditState::restoreDegrees(int degree, int shownDegrees)
{
  w->ui->ftDegreeSpin->setValue(degree);
  QCheckBox* boxes[] = {w->ui->ft0ChBox, w->ui->ft1ChBox, w->ui->ft2ChBox, w->ui->ft3ChBox};
  for (int d = 0; d < 4; ++d)
    boxes[d]->setChecked(shownDegrees & (1 << d));
}

#include "gui/history/documenteditstate.h"

#include "gui/documentview.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/partitionwidgetbase.h"

#include <QAction>
#include <QApplication>

DocumentEditState::DocumentEditState(SessionDocument& doc, DocumentView* documentView,
                                     FtransformWidget* controller, UnsavedWork* unsavedWork)
    : document(doc), view(documentView), ft(controller), work(unsavedWork)
{
}

DocumentEditState::~DocumentEditState() = default;

EditState DocumentEditState::editState()
{
  view->updateDocument();
  return EditState::of(document);
}

void DocumentEditState::beginRestore()
{
  if (restoring++ > 0)
    return;
  pause.reset(new UnsavedWork::Pause(work));
  ft->setBusy(true);
  QWidget* f = QApplication::focusWidget();
  PartitionWidgetBase* pw = ft->partitionWidget();
  focus = f && pw && pw->isAncestorOf(f) ? f : nullptr;
  focusName = focus ? focus->objectName() : QString();
}

void DocumentEditState::endRestore()
{
  if (--restoring > 0)
    return;
  ft->setBusy(false);
  pause.reset();
  // A partition input that had the focus and was made anew keeps it, so that
  // the next key goes where the user left it.
  PartitionWidgetBase* pw = ft->partitionWidget();
  if (!focusName.isEmpty() && pw && (!focus || !pw->isAncestorOf(focus)))
    if (QWidget* same = pw->findChild<QWidget*>(focusName))
      same->setFocus(Qt::OtherFocusReason);
  focus = nullptr;
  focusName.clear();
}

void DocumentEditState::writeRecords(const EditState& s)
{
  s.generic.applyTo(*document.genericRecord);
  s.equidistant.applyTo(*document.equidistantRecord);
  s.custom.applyTo(*document.customRecord);
  document.pointRecordsAtDomain();
}

void DocumentEditState::restorePartition(const EditState& s)
{
  writeRecords(s);
  view->kindAction(s.kind)->setChecked(true);
  view->installPartition();
  ft->refreshAll();
  view->updateTabOrder();
}

void DocumentEditState::restoreFunctions(const EditState& s)
{
  // The selectors' signals are cut until the functions are made again.
  view->resetSelectors(s.functions.size());
  view->selectFunctions(s.functions);
  view->showDomainTexts({s.lowText, s.highText, s.countText});
  auto record = QSharedPointer<DataHolders::Domains::Equid>::create();
  record->low = s.low;
  record->high = s.high;
  record->count = s.count;
  document.domainRecord = record;
  writeRecords(s);
  view->kindAction(s.kind)->setChecked(true);
  document.dataFile = DataFileInfo();
  view->setFunctionType(s.source);

  bool made = false;
  if (s.source == FunctionSource::TableData) {
    document.domain = SessionDocument::makeDomain(document.domainRecord);
    if (s.data.dataFile.isEmpty()) {
      document.remakeRandomData(s.randomSeed);
      view->installPartition();
      ft->addFunctions(document.functions);
      made = true;
    } else {
      // The partition moves to the new domain before the data replaces it.
      view->installPartition();
      DataFileInfo info = s.data;
      info.showImportDialog = false;
      made = view->loadDataFile(info, false);
      if (!made)
        view->clearFunctions();
    }
  }
  if (!made) {
    // Formulas, or a data file that cannot be read again: the formulas on the domain input.
    view->setFunctionType(FunctionSource::Formulas);
    view->rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
    view->installPartition();
    ft->addFunctions(view->drawnFunctions());
  }
  view->showRestoredFunctions();
}

bool DocumentEditState::selectFunction(int index, const QString& name)
{
  return view->selectFunction(index, name);
}

void DocumentEditState::restoreBasis(Fn::HigherDegreeBasis basis)
{
  view->setHigherDegreeBasis(basis);
}

void DocumentEditState::restoreDegrees(int degree, int shownDegrees)
{
  view->restoreDegrees(degree, shownDegrees);
}

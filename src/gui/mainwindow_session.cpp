// Session files, recent sessions and the user settings of the main window.
#include "gui/mainwindow.h"

#include "ui_mainwindow.h"

#include "gui/appconstants.h"
#include "gui/components/diagnostics.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/formulabuilderwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "gui/history/edithistory.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/inputs/fuzzypartfixedwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/preferenceswidget.h"
#include "gui/recentsessions.h"
#include "gui/unsavedwork.h"
#include "gui/usersettings.h"
#include "gui/widgetpersistence.h"
#include "midle/session/apppaths.h"
#include "midle/session/sessionkeys.h"
#include "midle/session/sessionlookup.h"
#include "midle/session/sessionreader.h"
#include "midle/session/sessionsave.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <qwt_slider.h>

#include <memory>

namespace {

QString& defaultSessionDirectory()
{
  static QString dir;
  return dir;
}

} // namespace

// --------------------------------------------------------------- settings

void MainWindow::restoreSettings()
{
  resetSelectors(1);
  globalPersistence->load();
  useFormulaDirectory();

  auto s = UserSettings::open();
  s->beginGroup(QStringLiteral("MainWindow"));
  restoreState(s->value(QStringLiteral("windowState")).toByteArray());
  restoreGeometry(s->value(QStringLiteral("geometry")).toByteArray());
  recent->load(*s);
  s->endGroup();

  zoomSlider->setScale(1.0, 5.0);
  zoomSlider->setTotalSteps(8);

  // The computation follows the domain input from the start, also when no
  // start-up session is opened.
  const auto input = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (input && ui->domainWidget->isValid()) {
    document.domainRecord = input;
    document.resetRecords();
  }
  clearFunctions();
  rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
  installPartition();
  ui->centralwidget->addFunctions(drawnFunctions());
  ui->fnSelector->setItems(formulaNames());
  connectSelectors(1.0);
  nameFunctionCurves();
}

bool MainWindow::writeSettings()
{
  bool ok = globalPersistence->save();
  auto s = UserSettings::open();
  s->beginGroup(QStringLiteral("MainWindow"));
  s->setValue(QStringLiteral("geometry"), saveGeometry());
  s->setValue(QStringLiteral("windowState"), saveState());
  recent->save(*s);
  s->endGroup();
  s->sync();
  ok = ok && s->status() == QSettings::NoError;
  if (!ok)
    reportUnwritableSettings();
  return ok;
}

void MainWindow::reportUnwritableSettings()
{
  Prompt::critical(
      this, tr("Error when saving settings"),
      tr("The settings could not be written to \"%1\".").arg(UserSettings::open()->fileName()));
}

// ---------------------------------------------------------------- sessions

void MainWindow::setDefaultSessionDirectory(const QString& dir)
{
  defaultSessionDirectory() = dir;
}

QString MainWindow::formulaDirectory() const
{
  return SessionLookup::formulasDirectory(preferences->formulasLocation(),
                                          defaultSessionDirectory());
}

void MainWindow::useFormulaDirectory()
{
  const QString dir = formulaDirectory();
  formulaBuilder->setFormulaDirectory(dir);
  SessionLookup::recordWindowFormulasDirectory(dir);
}

QStringList MainWindow::offerSessionFormulas(const QString& path, int selectorCount)
{
  QVector<FormulaFile::Entry> offered;
  for (const QString& name : formulaNames()) {
    const QString expression = expressionOf(name);
    offered.append({name, expression, !expression.isEmpty()});
  }
  const QSettings s(path, QSettings::IniFormat);
  QMap<QString, QVariant> values;
  for (const QString& key : s.allKeys())
    values.insert(key, s.value(key));
  return document.offerSessionFormulas(values, selectorCount, offered);
}

QString MainWindow::defaultSessionPath()
{
  const QString dir = defaultSessionDirectory().isEmpty() ? AppPaths::writableAppDirectory()
                                                          : defaultSessionDirectory();
  return QDir(dir).absolutePath() + QStringLiteral("/default.qms");
}

bool MainWindow::checkSessionInputs()
{
  // Both are asked, so that every invalid input is named and marked.
  QStringList invalid;
  const QString domainInput = ui->domainWidget->markInvalidInput();
  if (!domainInput.isEmpty())
    invalid << domainInput;
  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  const QString partitionInput = pw ? pw->markInvalidInput() : tr("Partition");
  if (!partitionInput.isEmpty())
    invalid << partitionInput;
  if (invalid.isEmpty())
    return true;
  Prompt::critical(nullptr, tr("Error when saving session"),
                   tr("Session could not be saved, invalid input values: %1.")
                       .arg(invalid.join(QStringLiteral(", "))));
  return false;
}

bool MainWindow::saveSession(const QString& path)
{
  if (!SessionSave::specialFile(path) && writeSession(path))
    return true;
  reportUnwritableSession(path);
  return false;
}

void MainWindow::reportUnwritableSession(const QString& path)
{
  Prompt::critical(this, tr("Error when saving session"),
                   tr("Session could not be saved to \"%1\": the file cannot be written.")
                       .arg(QDir::toNativeSeparators(path)));
}

bool MainWindow::writeSession(const QString& path)
{
  sessionPersistence->setFile(path);
  using DataHolders::PartitionKind;
  const PartitionKind kind = currentPartitionKind();
  const QString group = DataHolders::partitionKindName(kind);
  QSettings* s = sessionPersistence->settings();
  s->clear();
  sessionPersistence->save();

  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  if (pw) {
    sessionPersistence->saveTree(pw, group);
    const auto record = pw->data().dynamicCast<DataHolders::Partitions::PartBase>();
    SessionKeys::writePartition(*s, kind, record.data());
  }
  SessionContents c;
  c.selectorCount = ui->fnSelector->count();
  c.zoom = zoomSlider->value();
  c.partitionKind = kind;
  c.functionSource = document.source;
  SessionKeys::takeDataFile(c, document.dataFile);
  c.legendAlignment = int(ui->centralwidget->plotWidget()->legendAlignment());
  c.showLegend = ui->actionShowLegend->isChecked();
  c.higherDegreeBasis = ui->centralwidget->higherDegreeBasis();
  c.degree = ui->ftDegreeSpin->value();
  c.shownDegrees = degreeMask();
  c.domainTexts = currentDomainTexts();
  SessionKeys::write(*s, c);
  for (int i = 0; i < c.selectorCount; ++i) {
    const QString name = ui->fnSelector->selection(i);
    SessionLookup::writeChoice(*s, i, name, expressionOf(name));
  }
  s->sync();
  return s->status() == QSettings::NoError;
}

SessionValidator::Fallback MainWindow::currentDomainTexts() const
{
  SessionValidator::Fallback f;
  if (auto* e = ui->domainWidget->findChild<QLineEdit*>(QStringLiteral("lowEdt")))
    f.low = e->text();
  if (auto* e = ui->domainWidget->findChild<QLineEdit*>(QStringLiteral("highEdt")))
    f.high = e->text();
  if (auto* e = ui->domainWidget->findChild<QLineEdit*>(QStringLiteral("discrEdt")))
    f.discretization = e->text();
  return f;
}

bool MainWindow::openSession(const QString& path)
{
  // Applying a session is no change of the user's; an opened session is saved
  // work, where undo starts.
  UnsavedWork::Pause pause(unsavedWork);
  EditHistory::Pause holdHistory(editHistory);
  SessionValidator validator(path, currentDomainTexts());
  if (!validator.validate()) {
    Prompt::critical(this, tr("Error when opening session"),
                     SessionValidator::notOpened(path, validator.refusal()) +
                         tr("\nThe current work is kept."));
    return false;
  }
  const SessionContents& c = validator.contents();
  if (c.functionSource != FunctionSource::TableData) {
    const bool applied = applySession(path, c);
    if (applied) {
      editHistory->clear();
      unsavedWork->markClean();
    }
    return applied;
  }

  // A data file can still fail while it is read: keep a copy of the current
  // work to go back to.
  QTemporaryDir snapshotDir;
  const QString snapshot = snapshotDir.filePath(QStringLiteral("snapshot.qms"));
  const QString previousSession = sessionFile;
  const bool previousSaveEnabled = ui->actionSaveSession->isEnabled();
  const bool haveSnapshot = snapshotDir.isValid() && saveSession(snapshot);
  if (applySession(path, c)) {
    editHistory->clear();
    unsavedWork->markClean();
    return true;
  }

  Prompt::critical(this, tr("Error when opening session"),
                   SessionValidator::notOpened(path, SessionReader::dataFileNotRead(c.dataFile)) +
                       tr("\nThe current work is kept."));
  if (haveSnapshot) {
    SessionValidator again(snapshot, currentDomainTexts());
    if (again.validate())
      applySession(snapshot, again.contents());
  }
  sessionFile = previousSession;
  ui->actionSaveSession->setEnabled(previousSaveEnabled);
  if (!previousSession.isEmpty())
    sessionPersistence->setFile(previousSession);
  updateWindowTitle();
  return false;
}

void MainWindow::restorePartitionWidget(const SessionContents& c)
{
  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  if (!pw || currentPartitionKind() != c.partitionKind)
    return;
  sessionPersistence->loadTree(pw, DataHolders::partitionKindName(c.partitionKind));
  if (c.partitionKind != DataHolders::PartitionKind::Equidistant && !c.nodes.empty())
    pw->setNodeSet(c.nodes);
  pw->onInputsChanged();
  // The slider's candidates follow the restored distance and shape.
  if (auto* fixed = qobject_cast<FuzzyPartFixedWidget*>(pw); fixed && c.hasFixedPoint)
    fixed->setFixedPoint(c.fixedPoint);
  const DataHolderBase restored = pw->data();
  if (auto eq = restored.dynamicCast<DataHolders::Partitions::FuzzyEq>())
    document.genericRecord = eq;
  else if (auto pt = restored.dynamicCast<DataHolders::Partitions::FuzzyPt>())
    document.equidistantRecord = pt;
  else if (auto delta = restored.dynamicCast<DataHolders::Partitions::FuzzyDelta>())
    document.customRecord = delta;
}

bool MainWindow::applySession(const QString& path, const SessionContents& c)
{
  FtransformWidget* ft = ui->centralwidget;
  sessionFile = path;
  ui->actionSaveSession->setEnabled(true);
  ft->setBusy(true);
  sessionPersistence->setFile(path);
  sessionPersistence->settings()->sync();
  sessionPersistence->readHeldGroups();

  const DataFileInfo info = SessionKeys::dataFileInfo(c);
  showLegendAlignment(c.legendAlignment);
  ui->actionShowLegend->setChecked(c.showLegend);
  ft->plotWidget()->setLegendVisible(c.showLegend);

  const QStringList chosen = offerSessionFormulas(path, c.selectorCount);
  resetSelectors(c.selectorCount);
  sessionPersistence->load();
  // By name: the stored position counts only where the session carries no formula.
  for (int i = 0; i < chosen.size(); ++i)
    if (QComboBox* box = ui->fnSelector->selector(i); box && !chosen.at(i).isEmpty())
      box->setCurrentIndex(box->findText(chosen.at(i), Qt::MatchExactly | Qt::MatchCaseSensitive));
  applyPreferences(false);

  const auto record = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (record && DataHolders::domainRangeValid(*record))
    document.domainRecord = record;
  document.resetRecords();
  document.domain = SessionDocument::makeDomain(document.domainRecord);

  kindAction(c.partitionKind)->setChecked(true);
  ft->setPartition(document.record(c.partitionKind), document.domain);
  restorePartitionWidget(c);

  setFunctionType(c.functionSource);
  connectSelectors(c.zoom);
  setHigherDegreeBasis(c.higherDegreeBasis);
  const int degree = ui->ftDegreeSpin->value();
  applyDegree(degree);
  ft->setMaxDegree(degree);
  ft->setVisibleDegrees(degreeMask());

  bool ok = true;
  if (c.functionSource == FunctionSource::Formulas) {
    const auto again = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
    if (again && DataHolders::domainRangeValid(*again))
      document.domainRecord = again;
    clearFunctions();
    rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
    installPartition();
    ft->addFunctions(drawnFunctions());
    updateTabOrder();
    refreshCoefTable();
  } else {
    ok = loadDataFile(info, false);
    // The partition inputs were stored on the data's domain, which the
    // partition widget knows only now.
    if (ok)
      restorePartitionWidget(c);
    if (!ok) {
      // Leave a consistent window behind: the formulas on the domain input.
      document.dataFile = DataFileInfo();
      setFunctionType(FunctionSource::Formulas);
      clearFunctions();
      rebuildFunctions(SessionDocument::makeDomain(document.domainRecord));
      installPartition();
      ft->addFunctions(drawnFunctions());
    }
  }

  for (int i = 0; i < c.selectorCount && i < ui->fnSelector->count(); ++i)
    if (QComboBox* box = ui->fnSelector->selector(i))
      box->setToolTip(expressionOf(ui->fnSelector->selection(i)));

  linkNodeSelection(tableLinked);
  onLegendPosition_changed();
  ft->setBusy(false);
  refreshCoefTable();
  updateWindowTitle();
  return ok;
}

void MainWindow::onActionSaveSession_triggered()
{
  if (!sessionFile.isEmpty())
    saveToSessionFile();
}

void MainWindow::onActionSaveAsSession_triggered()
{
  QString name = Prompt::getSaveFileName(this, tr("Save session"), UserSettings::sessionDir(),
                                         AppConstants::sessionFilter(), QStringLiteral("qms"));
  if (name.isEmpty() || !checkSessionInputs())
    return;
  // The open dialog lists only session files.
  if (QFileInfo(name).suffix().isEmpty())
    name += name.endsWith(QLatin1Char('.')) ? QStringLiteral("qms") : QStringLiteral(".qms");
  sessionFile = name;
  ui->actionSaveSession->setEnabled(true);
  if (saveSession(sessionFile)) {
    unsavedWork->markClean();
    if (!UserSettings::rememberSessionDir(sessionFile))
      reportUnwritableSettings();
  }
  updateWindowTitle();
}

void MainWindow::onActionOpenSession_triggered()
{
  if (!confirmUnsavedWork())
    return;
  const QString file = Prompt::getOpenFileName(this, tr("Open session"), UserSettings::sessionDir(),
                                               AppConstants::sessionFilter());
  if (file.isEmpty())
    return;
  if (!UserSettings::rememberSessionDir(file))
    reportUnwritableSettings();
  addRecentSession(file);
  openSession(file);
}

void MainWindow::addRecentSession(const QString& path)
{
  recent->add(path);
}

void MainWindow::openStartupSession()
{
  QString p = defaultSessionPath();
  if (!QFileInfo::exists(p) && saveSession(p))
    qCDebug(lcDiagnostics) << "Default session saved";
  if (recent->paths().isEmpty())
    addRecentSession(p);
  else
    p = recent->paths().first();
  if (QFileInfo::exists(p))
    openSession(p);
  unsavedWork->markClean();
}

bool MainWindow::savesOnExit() const
{
  if (sessionFile.isEmpty())
    return false;
  const SaveOnExit policy = preferences->saveOnExitPolicy();
  return policy == SaveOnExit::All || (policy == SaveOnExit::DefaultOnly &&
                                       QFileInfo(sessionFile).completeBaseName() ==
                                           QFileInfo(defaultSessionPath()).completeBaseName());
}

void MainWindow::saveOnExit()
{
  if (savesOnExit())
    saveSessionChecked(sessionFile);
}

bool MainWindow::saveSessionChecked(const QString& target)
{
  // Only a file that would open again replaces the target, so the last good
  // session is never lost to inputs left half-typed.
  QString why;
  const auto result = SessionSave::replaceChecked(
      target,
      [this, &target](const QString& temp) {
        const bool written = writeSession(temp);
        sessionPersistence->setFile(target);
        return written;
      },
      currentDomainTexts(), &why);
  if (result == SessionSave::Result::Unwritable)
    reportUnwritableSession(target);
  if (result == SessionSave::Result::Refused)
    Prompt::critical(this, tr("Error when saving session"),
                     tr("Session \"%1\" was not saved: the inputs would give a session that "
                        "cannot be opened (%2).\nThe file keeps its last saved state.")
                         .arg(QDir::toNativeSeparators(target), why));
  return result == SessionSave::Result::Saved;
}

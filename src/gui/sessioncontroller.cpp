#include "gui/sessioncontroller.h"

#include "ui_mainwindow.h"

#include "gui/appconstants.h"
#include "gui/components/diagnostics.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/documentview.h"
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
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QString& defaultSessionDirectory()
{
  static QString dir;
  return dir;
}

} // namespace

SessionController::SessionController(QMainWindow* mainWindow, Ui::MainWindow* form,
                                     SessionDocument& doc, DocumentView* documentView,
                                     WidgetPersistence* sessionPersistence,
                                     PreferencesWidget* prefs)
    : QObject(mainWindow), window(mainWindow), ui(form), document(doc), view(documentView),
      persistence(sessionPersistence), preferences(prefs)
{
  recentSessions = new RecentSessions(ui->menuRecentSession,
                                      [this] { return preferences->maxRecentSessions(); });
  connect(recentSessions, &RecentSessions::openRequested, this, [this](const QString& path) {
    if (confirmUnsavedWork())
      open(path);
  });
  connect(view, &DocumentView::sourceChanged, this, &SessionController::updateWindowTitle);
}

void SessionController::setDefaultDirectory(const QString& dir)
{
  defaultSessionDirectory() = dir;
}

QString SessionController::formulaDirectory(const QString& configured)
{
  return SessionLookup::formulasDirectory(configured, defaultSessionDirectory());
}

QString SessionController::defaultSessionPath()
{
  const QString dir = defaultSessionDirectory().isEmpty() ? AppPaths::writableAppDirectory()
                                                          : defaultSessionDirectory();
  return QDir(dir).absolutePath() + QStringLiteral("/default.qms");
}

void SessionController::reportUnwritableSettings()
{
  Prompt::critical(
      window, tr("Error when saving settings"),
      tr("The settings could not be written to \"%1\".").arg(UserSettings::open()->fileName()));
}

void SessionController::updateWindowTitle()
{
  QString title = QString::fromLatin1(AppConstants::productName);
  if (!sessionFile.isEmpty())
    title += QStringLiteral(" - ") + QFileInfo(sessionFile).fileName();
  if (!document.dataFile.dataFile.isEmpty())
    title += QStringLiteral(" - ") + document.dataFile.filePath();
  window->setWindowTitle(title + QStringLiteral("[*]"));
}

// ------------------------------------------------------------------ saving

bool SessionController::checkInputs()
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

void SessionController::bind(const QString& path)
{
  if (path == boundFile)
    return;
  boundFile = path;
  if (!path.isEmpty() && !SessionSave::targetWritable(path))
    Prompt::critical(nullptr, tr("Error"), tr("Cannot write to target location."),
                     QMessageBox::Close);
}

bool SessionController::save(const QString& path)
{
  if (!SessionSave::specialFile(path) && write(path))
    return true;
  reportUnwritable(path);
  return false;
}

void SessionController::reportUnwritable(const QString& path)
{
  Prompt::critical(window, tr("Error when saving session"),
                   tr("Session could not be saved to \"%1\": the file cannot be written.")
                       .arg(QDir::toNativeSeparators(path)));
}

bool SessionController::write(const QString& path)
{
  bind(path);
  view->updateDocument();
  persistence->save();
  if (PartitionWidgetBase* pw = ui->centralwidget->partitionWidget())
    persistence->saveTree(pw, DataHolders::partitionKindName(document.kind));
  return document.save(path);
}

bool SessionController::saveChecked(const QString& target)
{
  // Only a file that would open again replaces the target, so the last good
  // session is never lost to inputs left half-typed.
  QString why;
  const auto result = SessionSave::replaceChecked(
      target,
      [this, &target](const QString& temp) {
        const bool written = write(temp);
        bind(target);
        return written;
      },
      view->domainTexts(), &why);
  if (result == SessionSave::Result::Unwritable)
    reportUnwritable(target);
  if (result == SessionSave::Result::Refused)
    Prompt::critical(window, tr("Error when saving session"),
                     tr("Session \"%1\" was not saved: the inputs would give a session that "
                        "cannot be opened (%2).\nThe file keeps its last saved state.")
                         .arg(QDir::toNativeSeparators(target), why));
  return result == SessionSave::Result::Saved;
}

bool SessionController::saveToSessionFile()
{
  if (sessionFile.isEmpty()) {
    saveAs();
    return !unsavedWork->isModified();
  }
  if (!checkInputs() || !save(sessionFile))
    return false;
  unsavedWork->markClean();
  return true;
}

void SessionController::saveCurrent()
{
  if (!sessionFile.isEmpty())
    saveToSessionFile();
}

void SessionController::saveAs()
{
  QString name = Prompt::getSaveFileName(window, tr("Save session"), UserSettings::sessionDir(),
                                         AppConstants::sessionFilter(), QStringLiteral("qms"));
  if (name.isEmpty() || !checkInputs())
    return;
  // The open dialog lists only session files.
  if (QFileInfo(name).suffix().isEmpty())
    name += name.endsWith(QLatin1Char('.')) ? QStringLiteral("qms") : QStringLiteral(".qms");
  sessionFile = name;
  ui->actionSaveSession->setEnabled(true);
  if (save(sessionFile)) {
    unsavedWork->markClean();
    if (!UserSettings::rememberSessionDir(sessionFile))
      reportUnwritableSettings();
  }
  updateWindowTitle();
}

bool SessionController::confirmUnsavedWork()
{
  const QString name =
      sessionFile.isEmpty() ? tr("a new session") : QFileInfo(sessionFile).fileName();
  return unsavedWork->confirmDiscard(name, [this] { return saveToSessionFile(); });
}

bool SessionController::savesOnExit() const
{
  if (sessionFile.isEmpty())
    return false;
  const SaveOnExit policy = preferences->saveOnExitPolicy();
  return policy == SaveOnExit::All || (policy == SaveOnExit::DefaultOnly &&
                                       QFileInfo(sessionFile).completeBaseName() ==
                                           QFileInfo(defaultSessionPath()).completeBaseName());
}

void SessionController::saveOnExit()
{
  if (savesOnExit())
    saveChecked(sessionFile);
}

// ----------------------------------------------------------------- opening

void SessionController::openWithDialog()
{
  if (!confirmUnsavedWork())
    return;
  const QString file = Prompt::getOpenFileName(
      window, tr("Open session"), UserSettings::sessionDir(), AppConstants::sessionFilter());
  if (file.isEmpty())
    return;
  if (!UserSettings::rememberSessionDir(file))
    reportUnwritableSettings();
  recentSessions->add(file);
  open(file);
}

bool SessionController::openConfirmed(const QString& path)
{
  // Listed only once it opened: a refused file would come back at every start.
  if (!confirmUnsavedWork() || !open(path))
    return false;
  recentSessions->add(path);
  return true;
}

void SessionController::openStartupSession()
{
  QString p = defaultSessionPath();
  if (!QFileInfo::exists(p) && save(p))
    qCDebug(lcDiagnostics) << "Default session saved";
  if (recentSessions->paths().isEmpty())
    recentSessions->add(p);
  else
    p = recentSessions->paths().first();
  if (QFileInfo::exists(p))
    open(p);
  unsavedWork->markClean();
}

bool SessionController::open(const QString& path)
{
  // Applying a session is no change of the user's; an opened session is saved
  // work, where undo starts.
  UnsavedWork::Pause pause(unsavedWork);
  EditHistory::Pause holdHistory(history);
  SessionContents c;
  QString why;
  if (!SessionDocument::read(path, view->domainTexts(), &c, &why)) {
    Prompt::critical(window, tr("Error when opening session"),
                     SessionValidator::notOpened(path, why) + tr("\nThe current work is kept."));
    return false;
  }
  if (c.functionSource != FunctionSource::TableData) {
    const bool applied = apply(path, c);
    if (applied) {
      history->clear();
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
  const bool haveSnapshot = snapshotDir.isValid() && save(snapshot);
  if (apply(path, c)) {
    history->clear();
    unsavedWork->markClean();
    return true;
  }

  Prompt::critical(window, tr("Error when opening session"),
                   SessionValidator::notOpened(path, SessionReader::dataFileNotRead(c.dataFile)) +
                       tr("\nThe current work is kept."));
  SessionContents again;
  if (haveSnapshot && SessionDocument::read(snapshot, view->domainTexts(), &again, &why))
    apply(snapshot, again);
  sessionFile = previousSession;
  ui->actionSaveSession->setEnabled(previousSaveEnabled);
  if (!previousSession.isEmpty())
    bind(previousSession);
  updateWindowTitle();
  return false;
}

void SessionController::restorePartitionWidget(const SessionContents& c)
{
  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  if (!pw || view->currentKind() != c.partitionKind)
    return;
  persistence->loadTree(pw, DataHolders::partitionKindName(c.partitionKind));
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

bool SessionController::apply(const QString& path, const SessionContents& c)
{
  FtransformWidget* ft = ui->centralwidget;
  sessionFile = path;
  ui->actionSaveSession->setEnabled(true);
  ft->setBusy(true);
  bind(path);
  document.take(c);

  const DataFileInfo info = SessionKeys::dataFileInfo(c);
  view->showLegendAlignment(c.legendAlignment);
  ui->actionShowLegend->setChecked(c.showLegend);
  ft->plotWidget()->setLegendVisible(c.showLegend);

  const QStringList chosen = view->offerSessionFormulas(c.values, c.selectorCount);
  view->resetSelectors(c.selectorCount);
  persistence->load();
  // By name: the stored position counts only where the session carries no formula.
  for (int i = 0; i < chosen.size(); ++i)
    if (QComboBox* box = ui->fnSelector->selector(i); box && !chosen.at(i).isEmpty())
      box->setCurrentIndex(box->findText(chosen.at(i), Qt::MatchExactly | Qt::MatchCaseSensitive));
  view->applyPreferences(false);

  const auto record = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
  if (record && DataHolders::domainRangeValid(*record))
    document.domainRecord = record;
  document.resetRecords();
  document.domain = SessionDocument::makeDomain(document.domainRecord);

  view->kindAction(c.partitionKind)->setChecked(true);
  ft->setPartition(document.record(c.partitionKind), document.domain);
  restorePartitionWidget(c);

  view->setFunctionType(c.functionSource);
  view->connectSelectors(c.zoom);
  view->setHigherDegreeBasis(c.higherDegreeBasis);
  const int degree = ui->ftDegreeSpin->value();
  view->applyDegree(degree);
  ft->setMaxDegree(degree);
  ft->setVisibleDegrees(view->degreeMask());

  bool ok = true;
  if (c.functionSource == FunctionSource::Formulas) {
    const auto again = ui->domainWidget->data().dynamicCast<DataHolders::Domains::Equid>();
    if (again && DataHolders::domainRangeValid(*again))
      document.domainRecord = again;
    view->remakeFormulas();
    view->updateTabOrder();
    view->refreshCoefTable();
  } else {
    ok = view->loadDataFile(info, false);
    // The partition inputs were stored on the data's domain, which the
    // partition widget knows only now.
    if (ok)
      restorePartitionWidget(c);
    if (!ok) {
      // Leave a consistent window behind: the formulas on the domain input.
      document.dataFile = DataFileInfo();
      view->setFunctionType(FunctionSource::Formulas);
      view->remakeFormulas();
    }
  }

  view->showExpressions(c.selectorCount);
  view->linkNodeSelection(view->tableIsLinked());
  view->onLegendPosition_changed();
  ft->setBusy(false);
  view->refreshCoefTable();
  updateWindowTitle();
  return ok;
}

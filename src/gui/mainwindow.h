#ifndef QUELMORA_MAINWINDOW_H
#define QUELMORA_MAINWINDOW_H

#include "gui/figureexport.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "midle/numberreader/datafileinfo.h"
#include "midle/session/formulafile.h"
#include "midle/session/sessiondocument.h"
#include "midle/session/sessionvalidator.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QSharedPointer>
#include <QString>

#include <set>

class AboutWidget;
class AnalysisFeatures;
class EditHistory;
class FormulaBuilderWidget;
class PreferencesWidget;
class RecentSessions;
class QAction;
class QActionGroup;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QwtSlider;
class UnsavedWork;
class WidgetPersistence;
class WindowEditState;
namespace Ui {
class MainWindow;
}

// The one top-level window. It shows and edits the session document (the
// records, the functions and their source), owns the dialogs and both widget
// persistences, and turns menu actions and input signals into calls on the
// document and the controller.
// Session files are handled in mainwindow_session.cpp, data import in
// mainwindow_data.cpp and export in mainwindow_export.cpp.
class MainWindow : public QMainWindow
{
  Q_OBJECT

public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // Where the default session lives: "default.qms" in the application's
  // directory when that is writable, else in the user's data location.
  static QString defaultSessionPath();
  // Puts the default session into dir instead ("" restores the rule above),
  // and the formulas file too while the preferences name no place for it;
  // lets tests and embedders keep these files of their own.
  static void setDefaultSessionDirectory(const QString& dir);

  // The session last opened or saved ("" before the start-up session).
  QString currentSessionFile() const { return sessionFile; }
  // Session paths of the recent menu, in list order (most recent first).
  QStringList recentSessions() const;
  FunctionSource functionSourceType() const { return document.source; }

  // Saves to path without the input check; false (and a box naming the file)
  // when the file could not be written.
  bool saveSession(const QString& path);
  // Applies a session file. A file whose values could not be used is refused
  // with a box naming the file and the key; the window then keeps its work.
  bool openSession(const QString& path);

  // Opens a session (.qms) or a data file (.csv, .txt) as the File menu
  // would; false after the window has said why it refused the file.
  bool openFile(const QString& path);
  // A file of the command line: a session replaces the start-up choice, a
  // data file is opened after it. Takes effect when the window starts.
  void setStartupFile(const QString& path) { startupFile = path; }

protected slots:
  void ctorFinished();
  void onPartitionType_changed(bool checked);
  void onDomain_changed();
  void onActionOpenSession_triggered();
  void onActionSaveSession_triggered();
  void onActionSaveAsSession_triggered();
  void onActionOpenData_triggered();
  void onActionCloseData_triggered();
  void onActionExportValues_triggered();
  void onActionExportPicture_triggered();
  void onActionExportFigure_triggered();
  void onActionCopyPlot_triggered();
  void onActionCopyTable_triggered();
  void onFormulaBuilder_accepted();
  void onFormulaBuilder_rejected();
  void onFormulaBuilder_renamed(QString oldName, QString newName);
  void onSelectedFunction_changed(int index, QString text);
  void onSelector_added(int index);
  void onSelector_removed(int index);
  void onPreferences_accepted();
  void onFunctionTableVisibility_changed(bool visible);
  void onFtDegreeSpin_changed(int degree);
  void onFtDegreeChBox_changed(int);
  void onBasisCbox_changed(int index);
  void refreshCoefTable();
  void generateRandomFunction();
  void onLegendPosition_changed();

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

  // Sessions (mainwindow_session.cpp).
  bool checkSessionInputs();
  void addRecentSession(const QString& path);
  void reportUnwritableSettings();
  void openStartupSession();
  // Whether the save-on-exit preference saves the current session.
  bool savesOnExit() const;
  void saveOnExit();
  // Writes the session without any message; false when it could not be written.
  bool writeSession(const QString& path);
  void reportUnwritableSession(const QString& path);
  // Replaces target only with a session that passes the checks of opening;
  // otherwise target keeps its content and a box names it.
  bool saveSessionChecked(const QString& target);
  bool applySession(const QString& path, const SessionContents& s);
  SessionValidator::Fallback currentDomainTexts() const;
  // Loads the partition group into the partition widget in use and takes its
  // record as the record of that kind.
  void restorePartitionWidget(const SessionContents& c);

  // Unsaved work (mainwindow_changes.cpp): what marks the window modified, and
  // the question before changes would be lost (false: the user cancelled).
  void watchForChanges();
  bool confirmUnsavedWork();
  // Saves to the session file (or asks for one) after the input check.
  bool saveToSessionFile();

  // Data import (mainwindow_data.cpp): true when the file became the source.
  bool loadDataFile(DataFileInfo fileInfo, bool interactive);
  // "Open data" after its file dialog: the file with the x values in xColumn.
  bool openDataFile(const QString& file, int xColumn);

  // Window state.
  void setFunctionType(FunctionSource type);
  QSharedPointer<DataHolders::Partitions::PartBase> currentPartitionRecord() const;
  DataHolders::PartitionKind currentPartitionKind() const;
  // The action that picks a kind, and the window's record of it.
  QAction* kindAction(DataHolders::PartitionKind kind) const;
  void clearFunctions();
  void rebuildFunctions(::Domains::EnumerationBase<double>* newDomain);
  // The functions the controller computes and draws: every data function, the
  // formula functions of selectors that show a formula (an added selector
  // stays empty, and draws nothing, until one is picked).
  QList<Fn::MathFn<double, double>*> drawnFunctions() const;
  // Before data replaces the formulas: the domain input shows the domain they
  // were computed on, which Close data brings back (a half-typed range never
  // took effect).
  void showFormulaDomain();
  void resetSelectors(int count);
  void connectSelectors(double zoom);
  void disconnectSelectors();
  void applyDegree(int degree);
  // Shows and computes with these bases of the higher degrees.
  void setHigherDegreeBasis(Fn::HigherDegreeBasis basis);
  int degreeMask() const;
  void updateWindowTitle();
  void restoreSettings();
  bool writeSettings();
  void applyPreferences(bool fromDialog);
  // The preferences' formulas location, else the default session directory
  // when one was set, else the program's own place.
  QString formulaDirectory() const;
  void showLegendAlignment(int alignment);
  int legendAlignment() const;
  void setTableColumnCount(int count);
  void setDegreeColumnsVisible(int degree, int state);
  void linkNodeSelection(bool link);
  // Copies from the component table read the controller's components.
  void setTableCellValues();
  QVector<FigureExport::CurveRole> figureRoles() const;
  // Legend names of the function curves: the selector texts, or the data
  // columns' names ("DataFile 1 (temperature)", "DataFile" for random data).
  void nameFunctionCurves();
  void updateTabOrder();
  QString expressionOf(const QString& name) const;
  QStringList formulaNames() const;
  void installPartition();
  // Groups of the export dialogs' fields in a session (mainwindow_export.cpp).
  static QStringList exportDialogGroups();
  // Sets the formula builder's directory (formulaDirectory()) and records it
  // for the batch tool.
  void useFormulaDirectory();
  // The formulas a session carries, offered beside the user's list for this
  // run where the list lacks them; per selector the name to select ("" to
  // keep the stored position).
  QStringList offerSessionFormulas(const QString& path, int selectorCount);

  Ui::MainWindow* ui;
  QwtSlider* zoomSlider;
  QString sessionFile;
  RecentSessions* recent = nullptr;
  // The work shown: records, function source, functions and their domain.
  SessionDocument document;
  QMap<QString, QString> renames;
  FormulaBuilderWidget* formulaBuilder;
  PreferencesWidget* preferences;
  AboutWidget* about;
  WidgetPersistence* sessionPersistence;
  WidgetPersistence* globalPersistence;
  UnsavedWork* unsavedWork = nullptr;
  // Undo and redo (src/gui/history); the window's side of it is editState.
  WindowEditState* editState = nullptr;
  EditHistory* editHistory = nullptr;
  QMetaObject::Connection nodeSelectedLink;
  QMetaObject::Connection rowSelectedLink;
  QActionGroup* partitionGroup = nullptr;
  QActionGroup* legendGroup = nullptr;
  QSharedPointer<QAction> randomDataAction;
  AnalysisFeatures* analysis = nullptr;
  bool selectorsConnected = false;
  bool tableLinked = false;
  QString startupFile;

  friend class MainWindowTester;
  friend class WindowEditState;
};

#endif

#ifndef QUELMORA_MAINWINDOW_H
#define QUELMORA_MAINWINDOW_H

#include "midle/session/sessiondocument.h"

#include <QMainWindow>
#include <QSharedPointer>
#include <QString>

class AboutWidget;
class AnalysisFeatures;
class DocumentEditState;
class DocumentView;
class EditHistory;
class ExportController;
class FormulaBuilderWidget;
class PreferencesWidget;
class QAction;
class QActionGroup;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QwtSlider;
class SessionController;
class UnsavedWork;
class WidgetPersistence;
namespace Ui {
class MainWindow;
}

// The one top-level window: it builds the menus, docks and dialogs and
// connects them to the parts that do the work. The session document holds
// the work; the document view shows it in the widgets, the session
// controller opens and saves it, the export controller writes it out and
// the edit history undoes its steps.
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
  QString currentSessionFile() const;
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

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void connectActions();
  // What marks the window modified: steps of the undo history, and changes no
  // step undoes.
  void watchForChanges();
  void restoreSettings();
  bool writeSettings();

  Ui::MainWindow* ui;
  QwtSlider* zoomSlider;
  // The work shown: records, functions and their source, what the window shows of them.
  SessionDocument document;
  FormulaBuilderWidget* formulaBuilder;
  PreferencesWidget* preferences;
  AboutWidget* about;
  WidgetPersistence* sessionPersistence;
  WidgetPersistence* globalPersistence;
  QActionGroup* partitionGroup = nullptr;
  QActionGroup* legendGroup = nullptr;
  DocumentView* view = nullptr;
  SessionController* sessions = nullptr;
  ExportController* exporter = nullptr;
  UnsavedWork* unsavedWork = nullptr;
  DocumentEditState* editState = nullptr;
  EditHistory* editHistory = nullptr;
  QSharedPointer<QAction> randomDataAction;
  AnalysisFeatures* analysis = nullptr;
  QString startupFile;

  friend class MainWindowTester;
};

#endif

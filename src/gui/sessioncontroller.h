#ifndef QUELMORA_SESSIONCONTROLLER_H
#define QUELMORA_SESSIONCONTROLLER_H

#include "midle/session/sessionvalidator.h"

#include <QObject>
#include <QString>
#include <QStringList>

class DocumentView;
class EditHistory;
class PreferencesWidget;
class QMainWindow;
class RecentSessions;
class SessionDocument;
class UnsavedWork;
class WidgetPersistence;
namespace Ui {
class MainWindow;
}

// The main window's session files: opening one (read and checked by the
// document, then shown through the document view, the current work kept
// when it is refused), saving (save, save as, the checked save on exit),
// the start-up session, the recent sessions, the question before unsaved
// work is lost and the window title.
class SessionController : public QObject
{
  Q_OBJECT

public:
  SessionController(QMainWindow* window, Ui::MainWindow* ui, SessionDocument& document,
                    DocumentView* view, WidgetPersistence* persistence,
                    PreferencesWidget* preferences);

  void setHistory(EditHistory* h, UnsavedWork* w)
  {
    history = h;
    unsavedWork = w;
  }
  RecentSessions* recent() const { return recentSessions; }

  // The session last opened or saved ("" before the start-up session).
  QString file() const { return sessionFile; }
  void setFile(const QString& path) { sessionFile = path; }

  // Where the default session lives: "default.qms" in the application's
  // directory when that is writable, else in the user's data location.
  static QString defaultSessionPath();
  // Puts the default session into dir instead ("" restores the rule above),
  // and the formulas file too while the preferences name no place for it.
  static void setDefaultDirectory(const QString& dir);
  // The formulas' directory: configured, else the default session directory
  // when one was set, else the program's own place.
  static QString formulaDirectory(const QString& configured);

  // Applies a session file. A file whose values could not be used is refused
  // with a box naming the file and the key; the window then keeps its work.
  bool open(const QString& path);
  // Saves to path without the input check; false (and a box naming the file)
  // when the file could not be written.
  bool save(const QString& path);
  // Opens a session file as the recent menu or the command line do, after
  // the question about unsaved work.
  bool openConfirmed(const QString& path);
  void openStartupSession();
  // Whether the save-on-exit preference saves the current session.
  bool savesOnExit() const;
  void saveOnExit();
  // Asks before changes would be lost (false: the user cancelled).
  bool confirmUnsavedWork();
  void reportUnwritableSettings();
  void updateWindowTitle();

public slots:
  void openWithDialog();
  void saveCurrent();
  void saveAs();

private:
  bool checkInputs();
  // Writes the session without any message; false when it could not be written.
  bool write(const QString& path);
  void reportUnwritable(const QString& path);
  // Replaces target only with a session that passes the checks of opening;
  // otherwise target keeps its content and a box names it.
  bool saveChecked(const QString& target);
  // Saves to the session file (or asks for one) after the input check.
  bool saveToSessionFile();
  bool apply(const QString& path, const SessionContents& c);
  // Loads the partition group into the partition widget in use and takes its
  // record as the record of that kind.
  void restorePartitionWidget(const SessionContents& c);
  // The file the session's values go to: a new one that cannot be written is
  // reported (and written anyway, as the user chose it).
  void bind(const QString& path);

  QMainWindow* window;
  Ui::MainWindow* ui;
  SessionDocument& document;
  DocumentView* view;
  WidgetPersistence* persistence;
  PreferencesWidget* preferences;
  EditHistory* history = nullptr;
  UnsavedWork* unsavedWork = nullptr;
  RecentSessions* recentSessions;
  QString sessionFile;
  QString boundFile;
};

#endif

#ifndef QUELMORA_EDITHISTORY_H
#define QUELMORA_EDITHISTORY_H

#include "gui/history/editstate.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTimer>

class EditStateHost;
class FtransformWidget;
class MarkerPicker;
class PartitionWidgetBase;
class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QUndoStack;

// Undo and redo of the user's edits. It owns the undo stack, the Edit menu's
// Undo and Redo and the "Undo history" dock. The window tells it that
// something may have changed (changed()); it then compares the window's
// state with the one it recorded last and pushes a step for the difference,
// named after what the user touched. Everything one user action causes (a
// shape change that resets the shift, a domain that lays out the nodes again)
// becomes one step: steps recorded before control returns to the event loop
// join. A node drag is one step from press to release. Undo and redo bring
// back a recorded state: a few moved nodes through the controller's
// incremental path, anything else through the window.
class EditHistory : public QObject
{
  Q_OBJECT

public:
  static constexpr int stepLimit = 200;

  EditHistory(QMainWindow* window, FtransformWidget* controller, EditStateHost* host);
  ~EditHistory() override;

  QUndoStack* stack() const { return _stack; }
  QAction* undoAction() const { return _undo; }
  QAction* redoAction() const { return _redo; }
  QDockWidget* dock() const;
  // Undo and Redo on top of the Edit menu, the dock's entry in the Window menu.
  void addActions(QMenu* editMenu, QMenu* windowMenu);

  // The window's state now is where undo starts (a session opened or begun).
  void clear();
  // The state now is the saved one.
  void setClean();
  bool isClean() const;

  // Formulas renamed (old name -> new name, possibly in a chain): the steps
  // choose them by their new names.
  void renameFunctions(const QMap<QString, QString>& renames);

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Changes made by the program (a session applied) are no steps; afterwards
  // the state is taken as it is. Pauses nest.
  class Pause
  {
  public:
    explicit Pause(EditHistory* history);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

  private:
    QPointer<EditHistory> h;
  };

public slots:
  // Records a step if the state differs from the one recorded last.
  void changed();

signals:
  void cleanChanged(bool clean);

private:
  class Command;

  bool recording() const;
  Command* topCommand() const;
  void record();
  bool dragging() const;
  EditState capture(const EditState& reference);
  void endTurn();
  void closeTurn();
  // Before a step is undone or redone: what its action changed since it was
  // recorded joins it.
  void beforeApply(Command* command, bool undoing);
  void apply(const EditState& target);
  bool moveNodes(const EditState& now, const EditState& target);
  void restoreEdits(const EditState::EditMap& edits);
  void followPartitionWidget(PartitionWidgetBase* widget);
  void onDragStarted();
  void onDragFinished();

  QUndoStack* _stack;
  FtransformWidget* _controller;
  EditStateHost* _host;
  QAction* _undo;
  QAction* _redo;
  QPointer<QDockWidget> _dock;
  QPointer<MarkerPicker> _picker;
  EditState _last;
  QTimer _turnEnd;
  // The step of the running user action (0: none), by serial number.
  quint64 _turnSerial = 0;
  quint64 _nextSerial = 1;
  int _paused = 0;
  bool _applying = false;
};

#endif

#include "gui/history/edithistory.h"

#include "gui/components/markerpicker.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/history/editstatehost.h"
#include "gui/inputs/partitionwidgetbase.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QScopedValueRollback>
#include <QUndoCommand>
#include <QUndoStack>
#include <QUndoView>

#include <algorithm>

namespace {

// The merge id of steps of one running user action; above every EditStep::Merge.
constexpr int turnId = 1000;
// More moved nodes than this are put back with the whole partition.
constexpr int maxMovedNodes = 16;

// The text field of a focused line edit or spin box of window, or null.
QLineEdit* textField(QObject* focus, const QObject* window)
{
  if (!focus || !focus->isWidgetType())
    return nullptr;
  auto* widget = static_cast<QWidget*>(focus);
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (!edit && qobject_cast<QAbstractSpinBox*>(widget))
    edit = widget->findChild<QLineEdit*>();
  return edit && widget->window() == window ? edit : nullptr;
}

} // namespace

// One step: the states before and after it. The state is already there when
// the step is pushed, so its first redo does nothing.
class EditHistory::Command : public QUndoCommand
{
public:
  Command(EditHistory* owner, const EditState& from, const EditState& to, quint64 number)
      : history(owner), before(from), after(to), serial(number)
  {
    relabel();
  }

  void undo() override
  {
    history->beforeApply(this, true);
    history->apply(before);
  }
  void redo() override
  {
    if (pushed) {
      pushed = false;
      return;
    }
    history->beforeApply(this, false);
    history->apply(after);
  }
  int id() const override { return open ? turnId : step.merge; }
  bool mergeWith(const QUndoCommand* other) override
  {
    after = static_cast<const Command*>(other)->after;
    relabel();
    // Back where it started (an offset stepped up and down again): no step at all.
    if (before == after)
      setObsolete(true);
    return true;
  }
  void relabel()
  {
    step = EditStep::between(before, after);
    setText(step.text);
  }

  EditHistory* history;
  EditState before, after;
  EditStep step;
  const quint64 serial;
  // Steps of the running user action join it, whatever they change.
  bool open = false;
  bool pushed = true;
};

EditHistory::EditHistory(QMainWindow* window, FtransformWidget* controller, EditStateHost* host)
    : QObject(window), _stack(new QUndoStack(this)), _controller(controller), _host(host)
{
  _stack->setUndoLimit(stepLimit);
  connect(_stack, &QUndoStack::cleanChanged, this, &EditHistory::cleanChanged);
  _undo = _stack->createUndoAction(window);
  _undo->setObjectName(QStringLiteral("actionUndo"));
  _undo->setShortcuts(QKeySequence::Undo);
  _redo = _stack->createRedoAction(window);
  _redo->setObjectName(QStringLiteral("actionRedo"));
  _redo->setShortcuts(QKeySequence::Redo);

  _dock = new QDockWidget(tr("Undo history"), window);
  _dock->setObjectName(QStringLiteral("dockUndoHistory"));
  auto* view = new QUndoView(_stack, _dock);
  view->setObjectName(QStringLiteral("undoView"));
  view->setAccessibleName(tr("Undo history"));
  view->setToolTip(tr("The edits of the session; choosing one goes back to it"));
  view->setEmptyLabel(tr("Session as opened"));
  _dock->setWidget(view);
  window->addDockWidget(Qt::RightDockWidgetArea, _dock);
  _dock->hide();
  qApp->installEventFilter(this);

  _turnEnd.setSingleShot(true);
  _turnEnd.setInterval(0);
  connect(&_turnEnd, &QTimer::timeout, this, &EditHistory::endTurn);
  connect(controller, &FtransformWidget::partitionWidgetChanged, this,
          &EditHistory::followPartitionWidget);
  followPartitionWidget(controller->partitionWidget());
  _last = _host->editState();
}

EditHistory::~EditHistory()
{
  disconnect(_controller, nullptr, this, nullptr);
  if (_picker)
    disconnect(_picker, nullptr, this, nullptr);
  delete _dock;
  delete _undo;
  delete _redo;
}

QDockWidget* EditHistory::dock() const
{
  return _dock;
}

void EditHistory::addActions(QMenu* editMenu, QMenu* windowMenu)
{
  QAction* first = editMenu->actions().value(0);
  editMenu->insertAction(first, _undo);
  editMenu->insertAction(first, _redo);
  editMenu->insertSeparator(first);
  auto* show = new QAction(tr("Show &undo history"), _dock);
  show->setObjectName(QStringLiteral("actionShowUndoHistory"));
  connect(show, &QAction::triggered, _dock, [this] {
    _dock->show();
    _dock->raise();
  });
  windowMenu->addAction(show);
}

void EditHistory::renameFunctions(const QMap<QString, QString>& renames)
{
  if (renames.isEmpty())
    return;
  const auto rename = [&renames](EditState& s) {
    for (QString& name : s.functions) {
      if (!renames.contains(name))
        continue;
      QString last = renames.value(name);
      for (int hops = 0; renames.contains(last) && hops < renames.size(); ++hops)
        last = renames.value(last);
      name = last;
    }
  };
  for (int i = 0; i < _stack->count(); ++i) {
    auto* command = static_cast<Command*>(const_cast<QUndoCommand*>(_stack->command(i)));
    rename(command->before);
    rename(command->after);
    command->relabel();
  }
  rename(_last);
}

bool EditHistory::eventFilter(QObject* watched, QEvent* event)
{
  // A line edit (a spin box's too) takes Ctrl+Z for its own text. Once that
  // text is a step (a domain end typed and applied), or when it has nothing
  // to undo (a spin box's arrows), the window's Undo and Redo get the keys:
  // undoing only the text would show a value the results no longer have.
  if (event->type() != QEvent::ShortcutOverride)
    return false;
  QLineEdit* edit = textField(watched, parent());
  if (!edit)
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if ((key->matches(QKeySequence::Undo) && (!edit->isModified() || !edit->isUndoAvailable())) ||
      (key->matches(QKeySequence::Redo) && (!edit->isModified() || !edit->isRedoAvailable()))) {
    event->ignore();
    return true;
  }
  return false;
}

void EditHistory::clear()
{
  closeTurn();
  _stack->clear();
  _last = _host->editState();
}

void EditHistory::setClean()
{
  changed();
  closeTurn();
  _stack->setClean();
}

bool EditHistory::isClean() const
{
  return _stack->isClean();
}

EditHistory::Pause::Pause(EditHistory* history) : h(history)
{
  if (h)
    ++h->_paused;
}

EditHistory::Pause::~Pause()
{
  if (!h || --h->_paused > 0)
    return;
  h->closeTurn();
  h->_last = h->_host->editState();
}

// ------------------------------------------------------------------ steps

bool EditHistory::recording() const
{
  return !_applying && _paused == 0;
}

bool EditHistory::dragging() const
{
  return _picker && _picker->selectedMarker();
}

EditHistory::Command* EditHistory::topCommand() const
{
  const int index = _stack->index();
  // Every command on the stack is one of ours.
  return index > 0 ? static_cast<Command*>(const_cast<QUndoCommand*>(_stack->command(index - 1)))
                   : nullptr;
}

EditState EditHistory::capture(const EditState& reference)
{
  EditState s = _host->editState();
  if (s.sameDomain(reference)) {
    s.lowText = reference.lowText;
    s.highText = reference.highText;
    s.countText = reference.countText;
  }
  // The widget hands out a new copy of its nodes each time: steps that did
  // not move them keep one list between them.
  for (auto part : {&EditState::generic, &EditState::equidistant, &EditState::custom})
    if ((s.*part).nodes == (reference.*part).nodes)
      (s.*part).nodes = (reference.*part).nodes;
  return s;
}

void EditHistory::changed()
{
  if (!recording())
    return;
  // A drag is recorded when it ends.
  if (!dragging())
    record();
  // The action may go on changing the window after it said so.
  if (!_turnEnd.isActive())
    _turnEnd.start(0);
}

void EditHistory::record()
{
  if (!recording())
    return;
  const EditState now = capture(_last);
  if (now == _last)
    return;
  Command* top = topCommand();
  const quint64 topSerial = top ? top->serial : 0;
  const bool join = top && topSerial == _turnSerial && _stack->index() == _stack->count() &&
                    _stack->index() != _stack->cleanIndex();
  const quint64 serial = _nextSerial++;
  auto* command = new Command(this, _last, now, serial);
  command->open = join;
  _last = now;
  // Joins the running action's step, or a like step before it, or comes on top.
  _stack->push(command);
  // What the focused field holds is in the step now (see eventFilter).
  if (QLineEdit* edit = textField(QApplication::focusWidget(), parent()))
    edit->setModified(false);
  Command* after = topCommand();
  if (after && (after->serial == serial || (topSerial != 0 && after->serial == topSerial))) {
    after->open = true;
    _turnSerial = after->serial;
  } else {
    _turnSerial = 0;
  }
}

void EditHistory::endTurn()
{
  // A message box of the action itself runs the event loop: the action goes on after it.
  if (QApplication::activeModalWidget()) {
    _turnEnd.start(50);
    return;
  }
  if (dragging())
    return;
  record();
  closeTurn();
}

void EditHistory::closeTurn()
{
  _turnEnd.stop();
  if (Command* top = topCommand(); top && top->serial == _turnSerial)
    top->open = false;
  _turnSerial = 0;
}

// ------------------------------------------------------------ undo, redo

void EditHistory::beforeApply(Command* command, bool undoing)
{
  // Undone before its action was over (from code, within one event): what
  // the action changed since belongs to it.
  if (undoing && recording() && _turnSerial != 0 && command->serial == _turnSerial) {
    const EditState now = capture(_last);
    if (now != _last) {
      command->after = now;
      command->relabel();
      _last = now;
    }
  }
  closeTurn();
}

void EditHistory::apply(const EditState& target)
{
  const QScopedValueRollback<bool> guard(_applying, true);
  _host->beginRestore();
  const EditState now = _host->editState();
  bool rebuilt = !now.sameFunctionSource(target);
  if (!rebuilt) {
    for (int i = 0; i < target.functions.size() && !rebuilt; ++i)
      rebuilt =
          now.functions[i] != target.functions[i] && !_host->selectFunction(i, target.functions[i]);
  }
  if (rebuilt)
    _host->restoreFunctions(target);
  else if (!now.samePartition(target) && !moveNodes(now, target))
    _host->restorePartition(target);
  if (now.degree != target.degree || now.shownDegrees != target.shownDegrees)
    _host->restoreDegrees(target.degree, target.shownDegrees);
  if (now.basis != target.basis)
    _host->restoreBasis(target.basis);
  // New functions come without edits.
  if (rebuilt ? !target.edits.isEmpty() : now.edits != target.edits)
    restoreEdits(target.edits);
  _host->endRestore();
  _last = capture(target);
}

// A few nodes of the partition in use moved, nothing else: they move back the
// way a typed node moves, updating only what they reach.
bool EditHistory::moveNodes(const EditState& now, const EditState& target)
{
  const PartitionState* from = now.current();
  const PartitionState* to = target.current();
  PartitionWidgetBase* pw = _controller->partitionWidget();
  if (!from || !to || now.kind != target.kind || !from->sameLayout(*to) || !pw ||
      pw->nodesLocked() || !pw->nodeMovePropagation())
    return false;
  for (const PartitionState* other : {&now.generic, &now.equidistant, &now.custom}) {
    const PartitionState* mine = other == &now.generic       ? &target.generic
                                 : other == &now.equidistant ? &target.equidistant
                                                             : &target.custom;
    if (other != from && *other != *mine)
      return false;
  }
  std::vector<int> left, right;
  for (int i = 0; i < to->nodes.size(); ++i) {
    if (to->nodes[i] < from->nodes[i])
      left.push_back(i);
    else if (to->nodes[i] > from->nodes[i])
      right.push_back(i);
    else if (!(to->nodes[i] == from->nodes[i]))
      return false; // not a number: no move can give it
  }
  if (int(left.size() + right.size()) > maxMovedNodes)
    return false;
  // One at a time the nodes stay in order: those going left from the left,
  // those going right from the right.
  std::reverse(right.begin(), right.end());
  for (const std::vector<int>* moves : {&left, &right})
    for (int i : *moves)
      if (!pw->moveNode(std::size_t(i), to->nodes[i]))
        return false;
  return true;
}

void EditHistory::restoreEdits(const EditState::EditMap& edits)
{
  QMap<FnKey, EditState::Edits> byKey;
  const QList<FtransformWidget::Function*>& functions = _controller->functions();
  for (auto it = edits.constBegin(); it != edits.constEnd(); ++it)
    if (it.key().first >= 0 && it.key().first < functions.size())
      byKey.insert(FnKey{functions.at(it.key().first), it.key().second}, it.value());
  _controller->setEditedComponents(byKey);
}

// ----------------------------------------------------------------- drags

void EditHistory::followPartitionWidget(PartitionWidgetBase* widget)
{
  if (_picker)
    disconnect(_picker, nullptr, this, nullptr);
  _picker = widget ? widget->partitionEditor()->plot()->picker() : nullptr;
  if (_picker) {
    connect(_picker, &MarkerPicker::dragStarted, this, &EditHistory::onDragStarted);
    connect(_picker, &MarkerPicker::dragFinished, this, &EditHistory::onDragFinished);
  }
  // A drag of the widget that went away is over.
  _undo->setEnabled(_stack->canUndo());
  _redo->setEnabled(_stack->canRedo());
}

void EditHistory::onDragStarted()
{
  record();
  closeTurn();
  // Undoing under a held node would move its neighbours past it.
  _undo->setEnabled(false);
  _redo->setEnabled(false);
}

void EditHistory::onDragFinished()
{
  _undo->setEnabled(_stack->canUndo());
  _redo->setEnabled(_stack->canRedo());
  changed();
}

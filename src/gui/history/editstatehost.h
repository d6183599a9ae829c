#ifndef QUELMORA_EDITSTATEHOST_H
#define QUELMORA_EDITSTATEHOST_H

#include "gui/history/editstate.h"

// The work whose edits the history keeps: it tells its state and brings
// parts of it back. Node moves and edited components the history applies
// through the controller.
class EditStateHost
{
public:
  virtual ~EditStateHost() = default;

  virtual EditState editState() = 0;

  // Around every restore: nothing restored counts as a change of the user's
  // and no warning is shown.
  virtual void beginRestore() = 0;
  virtual void endRestore() = 0;

  // Domain, function source, selectors, records and kind; rebuilds the functions.
  virtual void restoreFunctions(const EditState& s) = 0;
  // The three records and the kind, on the functions in use.
  virtual void restorePartition(const EditState& s) = 0;
  // Chooses name in selector index, as the user would. False when the
  // selector cannot show it (the function would not follow).
  virtual bool selectFunction(int index, const QString& name) = 0;
  virtual void restoreDegrees(int degree, int shownDegrees) = 0;
  virtual void restoreBasis(Fn::HigherDegreeBasis basis) = 0;

protected:
  EditStateHost() = default;
  EditStateHost(const EditStateHost&) = default;
  EditStateHost& operator=(const EditStateHost&) = default;
};

#endif

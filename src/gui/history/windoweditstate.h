#ifndef QUELMORA_WINDOWEDITSTATE_H
#define QUELMORA_WINDOWEDITSTATE_H

#include "gui/history/editstatehost.h"
#include "gui/unsavedwork.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class MainWindow;

// The main window as the edit history sees it: reads the inputs and records
// into an EditState and brings them back with the window's own operations
// (the ones a domain change, a kind change or opening a session uses).
class WindowEditState : public EditStateHost
{
public:
  explicit WindowEditState(MainWindow* window);
  ~WindowEditState() override;

  EditState editState() override;
  void beginRestore() override;
  void endRestore() override;
  void restoreFunctions(const EditState& s) override;
  void restorePartition(const EditState& s) override;
  bool selectFunction(int index, const QString& name) override;
  void restoreDegrees(int degree, int shownDegrees) override;
  void restoreBasis(Fn::HigherDegreeBasis basis) override;

private:
  void writeRecords(const EditState& s);
  void checkKind(DataHolders::PartitionKind kind);

  MainWindow* w;
  int restoring = 0;
  std::unique_ptr<UnsavedWork::Pause> pause;
  // The partition input with the focus when a restore began.
  QPointer<QWidget> focus;
  QString focusName;
};

#endif

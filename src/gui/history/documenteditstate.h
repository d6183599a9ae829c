#ifndef QUELMORA_DOCUMENTEDITSTATE_H
#define QUELMORA_DOCUMENTEDITSTATE_H

#include "gui/history/editstatehost.h"
#include "gui/unsavedwork.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class DocumentView;
class FtransformWidget;
class SessionDocument;

// The session document as the edit history sees it: a step is the document
// as the window's inputs left it, and it is brought back through the
// document view with the operations a domain change, a kind change or
// opening a session uses.
class DocumentEditState : public EditStateHost
{
public:
  DocumentEditState(SessionDocument& document, DocumentView* view, FtransformWidget* controller,
                    UnsavedWork* unsavedWork);
  ~DocumentEditState() override;

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

  SessionDocument& document;
  DocumentView* view;
  FtransformWidget* ft;
  UnsavedWork* work;
  int restoring = 0;
  std::unique_ptr<UnsavedWork::Pause> pause;
  // The partition input with the focus when a restore began.
  QPointer<QWidget> focus;
  QString focusName;
};

#endif

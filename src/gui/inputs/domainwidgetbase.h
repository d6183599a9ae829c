#ifndef QUELMORA_DOMAINWIDGETBASE_H
#define QUELMORA_DOMAINWIDGETBASE_H

#include "gui/inputs/configwidgetbase.h"

#include <QString>

class QLineEdit;

// Adds change detection for line edits: an edit that finishes editing counts
// as changed only when its text differs from the text it had at focus-in.
// Subclasses install this widget as event filter on their edits, connect
// their editingFinished() to onInputsChanged() and set lowEdit/highEdit.
class DomainWidgetBase : public ConfigWidgetBase
{
  Q_OBJECT

public:
  explicit DomainWidgetBase(const QString& name, QWidget* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

signals:
  void domainRangeChanged(DataHolderBase data);

public slots:
  void onInputsChanged(int v = 0) override;

protected slots:
  void highlightByValidator();

protected:
  // Judges the inputs after changed was edited, marking bad ones.
  virtual bool validateInputs(QLineEdit* changed) = 0;

  QLineEdit* focusedEdit = nullptr;
  QLineEdit* lowEdit = nullptr;
  QLineEdit* highEdit = nullptr;
  QString textAtFocus;
};

#endif

#ifndef QUELMORA_FUNCTIONSELECTORWIDGET_H
#define QUELMORA_FUNCTIONSELECTORWIDGET_H

#include "gui/inputs/widgetbase.h"

#include <QList>
#include <QStringList>

class QComboBox;
class QToolButton;
namespace Ui {
class FunctionSelectorWidget;
}

// A column of selectors (combo box + remove button) choosing the functions to
// transform. Indexes are positions in the column: removing a selector shifts
// those below it, and receivers of selectorBeingRemoved must do the same.
// There is always at least one selector.
class FunctionSelectorWidget : public WidgetBase
{
  Q_OBJECT

public:
  explicit FunctionSelectorWidget(QWidget* parent = nullptr);
  ~FunctionSelectorWidget() override;

  // Refills every selector with names; a selector whose name is still offered
  // keeps it, the others show the first name.
  void setItems(const QStringList& names);
  QStringList itemList() const { return items; }

  QString selection(int index) const;
  // Case-insensitive exact match; an unknown name leaves no selection.
  void select(int index, const QString& name);

  int count() const { return selectors.size(); }
  // Adds or removes selectors at the end (at least one stays), with the same
  // signals as the buttons, then names all selectors by their index.
  void setSelectorCount(int n);

  QComboBox* selector(int index) const;
  QToolButton* removeButton(int index) const;

  // Enables the children by the widget's own rule (the remove buttons while
  // more than one selector is left): a restored session may have disabled
  // them, as it stores what a disabled parent passed on.
  void restoreEnabledStates();

signals:
  void selectionChanged(int index, QString text);
  void selectorBeingInserted(int index);
  void selectorBeingRemoved(int index);

protected slots:
  void addSelector();
  void remSelector();
  void onCurrentIndex_changed(QString text);

private:
  void connectSelector(QComboBox* combo, QToolButton* button);
  void removeAt(int index);
  void renameSelectors();

  Ui::FunctionSelectorWidget* ui;
  QStringList items;
  QList<QComboBox*> selectors;
  QList<QToolButton*> removeButtons;
};

#endif

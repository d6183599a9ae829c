#include "gui/inputs/domainwidgetbase.h"

#include <QEvent>
#include <QLineEdit>
#include <QValidator>

DomainWidgetBase::DomainWidgetBase(const QString& name, QWidget* parent)
    : ConfigWidgetBase(name, parent)
{
}

bool DomainWidgetBase::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::FocusIn) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      focusedEdit = edit;
      textAtFocus = edit->text();
    }
  }
  return ConfigWidgetBase::eventFilter(watched, event);
}

void DomainWidgetBase::onInputsChanged(int)
{
  auto* edit = qobject_cast<QLineEdit*>(sender());
  if (!edit || edit != focusedEdit)
    return;
  if (edit->text() == textAtFocus)
    return;
  if (!validateInputs(edit))
    return;
  // The text in force now: going back to the one before is a change again.
  textAtFocus = edit->text();
  emit inputsChanged();
  if (edit == lowEdit || edit == highEdit)
    emit domainRangeChanged(data());
}

void DomainWidgetBase::highlightByValidator()
{
  auto* edit = qobject_cast<QLineEdit*>(sender());
  if (!edit || !edit->validator())
    return;
  QString text = edit->text();
  int pos = 0;
  const bool ok = edit->validator()->validate(text, pos) == QValidator::Acceptable;
  edit->setStyleSheet(ok ? QString() : QString(invalidStyle));
}

#include "gui/unsavedwork.h"

#include "gui/components/prompt.h"

#include <QWidget>

UnsavedWork::UnsavedWork(QWidget* w) : QObject(w), window(w) {}

void UnsavedWork::markModified()
{
  if (paused == 0)
    set(true);
}

void UnsavedWork::markClean()
{
  set(false);
}

void UnsavedWork::set(bool on)
{
  if (on == modified)
    return;
  modified = on;
  window->setWindowModified(on);
  emit modifiedChanged(on);
}

bool UnsavedWork::confirmDiscard(const QString& name, const std::function<bool()>& save)
{
  if (!modified)
    return true;
  const QMessageBox::StandardButton answer = Prompt::message(
      QMessageBox::Warning, window, tr("Unsaved changes"), tr("Save changes to %1?").arg(name),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save)
    return save();
  return answer == QMessageBox::Discard;
}

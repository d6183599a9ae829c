#include "gui/unsavedwork.h"

#include "gui/components/prompt.h"
#include "gui/history/edithistory.h"

#include <QWidget>

UnsavedWork::UnsavedWork(QWidget* w) : QObject(w), window(w) {}

void UnsavedWork::follow(EditHistory* h)
{
  history = h;
  connect(h, &EditHistory::cleanChanged, this, &UnsavedWork::update);
  update();
}

void UnsavedWork::markModified()
{
  if (paused != 0)
    return;
  untracked = true;
  update();
}

void UnsavedWork::markClean()
{
  untracked = false;
  if (history)
    history->setClean();
  update();
}

void UnsavedWork::update()
{
  set(untracked || (history && !history->isClean()));
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

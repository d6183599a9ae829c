#ifndef QUELMORA_UNSAVEDWORK_H
#define QUELMORA_UNSAVEDWORK_H

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class EditHistory;
class QWidget;

// Whether a window holds work its session file does not have yet, shown in
// its title ("[*]", QWidget::setWindowModified): while the edit history it
// follows is away from its clean state, or after a change no step undoes
// (markModified(): the zoom, the legend). markClean() (after a save or an
// open) makes the history's state the clean one. While paused (the program
// itself applying a session) markModified() counts nothing.
class UnsavedWork : public QObject
{
  Q_OBJECT

public:
  explicit UnsavedWork(QWidget* window);

  bool isModified() const { return modified; }
  // Undoing back to the clean state clears the flag, unless a change outside
  // the history was made since.
  void follow(EditHistory* history);

  // Before unsaved work would be lost: asks "Save changes to NAME?" with Save,
  // Discard and Cancel when there is any. Save runs save and goes on only
  // when it succeeded; Discard goes on; Cancel (or closing the box) does not.
  // Answers whether the caller may go on.
  bool confirmDiscard(const QString& name, const std::function<bool()>& save);

  // Counts no change until the object is gone; pauses nest.
  class Pause
  {
  public:
    explicit Pause(UnsavedWork* paused) : work(paused) { ++work->paused; }
    ~Pause() { --work->paused; }
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

  private:
    UnsavedWork* work;
  };

public slots:
  void markModified();
  void markClean();

signals:
  void modifiedChanged(bool modified);

private:
  void update();
  void set(bool on);

  QWidget* window;
  QPointer<EditHistory> history;
  bool untracked = false;
  bool modified = false;
  int paused = 0;
};

#endif

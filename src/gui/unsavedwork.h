#ifndef QUELMORA_UNSAVEDWORK_H
#define QUELMORA_UNSAVEDWORK_H

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// Whether a window holds work its session file does not have yet, shown in
// its title ("[*]", QWidget::setWindowModified). markModified() is the one
// place that marks the window modified, markClean() the one that marks it
// clean (after a save or an open); both can later follow an undo stack's
// clean state. While paused (the program itself applying a session) changes
// are not counted.
class UnsavedWork : public QObject
{
  Q_OBJECT

public:
  explicit UnsavedWork(QWidget* window);

  bool isModified() const { return modified; }

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
  void set(bool on);

  QWidget* window;
  bool modified = false;
  int paused = 0;
};

#endif

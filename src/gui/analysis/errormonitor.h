#ifndef QUELMORA_ERRORMONITOR_H
#define QUELMORA_ERRORMONITOR_H

#include "analysis/errormeasure.h"
#include "gui/ftransform_widgets/data_structures.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVector>

#include <map>

class FtransformWidget;

// Keeps the approximation error of every function and shown degree of the
// controller current, one ErrorTracker per (function, degree flag), for the
// error table and the error curves.
//
// refresh() announces a full recomputation, refreshRange(from, to) one that
// changed only the points [from, to) of the inverses. Both only note the
// work: it runs once, queued, before the plots paint, so the announcements
// of one recomputation (the controller makes two) cost one update, and a
// range touches only the trackers' blocks in it. Nothing is computed while
// nobody wants the errors.
class ErrorMonitor : public QObject
{
  Q_OBJECT

public:
  using Function = Fn::MathFn<double, double>;
  struct Row
  {
    const Function* fn;
    int flag;
    Analysis::ErrorMeasure error;
  };

  explicit ErrorMonitor(FtransformWidget* controller, QObject* parent = nullptr);
  ~ErrorMonitor() override;

  FtransformWidget* controller() const;

  // The table and the curves say whether they show the errors; the work
  // runs while anybody does.
  void setWanted(const QObject* who, bool wanted);
  bool isActive() const { return !_wanting.isEmpty(); }

  // One row per function (controller order) and shown degree (ascending).
  const QVector<Row>& rows() const { return _rows; }

public slots:
  void refresh();
  void refreshRange(qint64 from, qint64 to);
  // What the controller's last recomputation changed: after a node move only
  // the moved range, after anything else everything.
  void followController();
  // Runs the noted work now (the queued call then finds nothing to do).
  void update();

signals:
  // After an update: the rows changed (functions or degrees), or only the
  // values of the points [from, to).
  void updated(bool rowsChanged, qint64 from, qint64 to);
  // After every announced recomputation, wanted or not.
  void recomputed();

private:
  void schedule();

  QPointer<FtransformWidget> _controller;
  QSet<const QObject*> _wanting;
  std::map<FnKey, Analysis::ErrorTracker> _trackers;
  QVector<Row> _rows;
  const void* _domain = nullptr;
  bool _scheduled = false;
  bool _pending = false;
  bool _pendingFull = false;
  qint64 _from = 0, _to = 0;
};

#endif

#ifndef QUELMORA_ERRORTABLEWIDGET_H
#define QUELMORA_ERRORTABLEWIDGET_H

#include <QPointer>
#include <QWidget>

class ErrorMonitor;
class ErrorTableModel;
class QTableView;

// The "Approximation error" table: one row per function and shown degree
// with MaxAbs, RMSE and ArgMax, read from the monitor, which it asks for the
// errors only while the table is on screen.
class ErrorTableWidget : public QWidget
{
  Q_OBJECT

public:
  explicit ErrorTableWidget(ErrorMonitor* monitor, QWidget* parent = nullptr);
  ~ErrorTableWidget() override;

  QTableView* view() const { return _view; }
  // Room for all five columns of a typical row.
  QSize sizeHint() const override;

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  QPointer<ErrorMonitor> _monitor;
  ErrorTableModel* _model;
  QTableView* _view;
};

#endif

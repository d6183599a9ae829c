#ifndef QUELMORA_PLOTALIGNER_H
#define QUELMORA_PLOTALIGNER_H

#include <QObject>
#include <QPointer>

class QwtPlot;

// Keeps the canvases of two stacked plots at the same horizontal place on
// screen, whatever their axes take beside them (a right-hand axis on one
// only, wider tick labels): the plot whose canvas reaches further gets that
// much room inside its frame.
class PlotAligner : public QObject
{
  Q_OBJECT

public:
  PlotAligner(QwtPlot* first, QwtPlot* second, QObject* parent = nullptr);
  ~PlotAligner() override;

  void align();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QPointer<QwtPlot> _plots[2];
  int _padLeft[2] = {0, 0};
  int _padRight[2] = {0, 0};
  bool _aligning = false;
};

#endif

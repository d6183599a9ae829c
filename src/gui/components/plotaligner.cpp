#include "gui/components/plotaligner.h"

#include <QEvent>
#include <QWidget>

#include <qwt_plot.h>

#include <algorithm>

PlotAligner::PlotAligner(QwtPlot* first, QwtPlot* second, QObject* parent)
    : QObject(parent), _plots{first, second}
{
  for (QwtPlot* p : {first, second}) {
    p->installEventFilter(this);
    p->canvas()->installEventFilter(this);
  }
  align();
}

PlotAligner::~PlotAligner()
{
  for (int i = 0; i < 2; ++i) {
    if (!_plots[i])
      continue;
    _plots[i]->removeEventFilter(this);
    _plots[i]->canvas()->removeEventFilter(this);
    _plots[i]->setContentsMargins(0, 0, 0, 0);
  }
}

bool PlotAligner::eventFilter(QObject* watched, QEvent* event)
{
  switch (event->type()) {
  case QEvent::Resize:
  case QEvent::Move:
  case QEvent::Show:
    align();
    break;
  default:
    break;
  }
  return QObject::eventFilter(watched, event);
}

void PlotAligner::align()
{
  if (_aligning || !_plots[0] || !_plots[1] || !_plots[0]->isVisible() || !_plots[1]->isVisible())
    return;
  _aligning = true;
  // Where each canvas would be without the room given before, on screen.
  int left[2], right[2];
  for (int i = 0; i < 2; ++i) {
    const QWidget* c = _plots[i]->canvas();
    const int x = c->mapToGlobal(QPoint(0, 0)).x();
    left[i] = x - _padLeft[i];
    right[i] = x + c->width() + _padRight[i];
  }
  const int l = std::max(left[0], left[1]), r = std::min(right[0], right[1]);
  for (int i = 0; i < 2; ++i) {
    const int padLeft = l - left[i], padRight = right[i] - r;
    if (padLeft == _padLeft[i] && padRight == _padRight[i])
      continue;
    _padLeft[i] = padLeft;
    _padRight[i] = padRight;
    _plots[i]->setContentsMargins(padLeft, 0, padRight, 0);
    _plots[i]->updateLayout();
  }
  _aligning = false;
}

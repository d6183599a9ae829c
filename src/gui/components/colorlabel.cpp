#include "gui/components/colorlabel.h"

#include "gui/components/prompt.h"

#include <QMouseEvent>

ColorLabel::ColorLabel(QWidget* parent) : QLabel(parent)
{
  setText(QString());
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  currentColor = palette().color(QPalette::Window);
}

QColor ColorLabel::color() const
{
  return currentColor;
}

void ColorLabel::setColor(const QColor& c)
{
  if (c == currentColor)
    return;
  currentColor = c;
  QPalette pal = palette();
  pal.setBrush(QPalette::All, QPalette::Window, QBrush(c, Qt::SolidPattern));
  setPalette(pal);
}

void ColorLabel::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  const QColor chosen = Prompt::getColor(currentColor, this);
  if (chosen.isValid() && chosen != currentColor) {
    setColor(chosen);
    emit colorChanged(currentColor);
  }
}

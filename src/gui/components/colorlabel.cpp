#include "gui/components/colorlabel.h"

#include "gui/components/prompt.h"

#include <QKeyEvent>
#include <QMouseEvent>

ColorLabel::ColorLabel(QWidget* parent) : QLabel(parent)
{
  setText(QString());
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  setToolTip(tr("Chooses the colour: click, or press Space or Enter"));
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
  choose();
}

void ColorLabel::keyPressEvent(QKeyEvent* event)
{
  switch (event->key()) {
  case Qt::Key_Space:
  case Qt::Key_Return:
  case Qt::Key_Enter:
    choose();
    break;
  default:
    QLabel::keyPressEvent(event);
  }
}

// A thicker frame shows where the keyboard is.
void ColorLabel::focusInEvent(QFocusEvent* event)
{
  setLineWidth(2);
  QLabel::focusInEvent(event);
}

void ColorLabel::focusOutEvent(QFocusEvent* event)
{
  setLineWidth(1);
  QLabel::focusOutEvent(event);
}

void ColorLabel::choose()
{
  const QColor chosen = Prompt::getColor(currentColor, this);
  if (chosen.isValid() && chosen != currentColor) {
    setColor(chosen);
    emit colorChanged(currentColor);
  }
}

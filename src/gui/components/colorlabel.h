#ifndef QUELMORA_COLORLABEL_H
#define QUELMORA_COLORLABEL_H

#include <QColor>
#include <QLabel>

// A framed label filled with a colour; a left click, or Space or Enter when
// it has the focus, opens a colour dialog.
// The "color" property is what widget persistence stores and restores;
// restoring repaints without emitting colorChanged.
class ColorLabel : public QLabel
{
  Q_OBJECT
  Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)

public:
  explicit ColorLabel(QWidget* parent = nullptr);

  QColor color() const;
  void setColor(const QColor& c);

signals:
  void colorChanged(QColor color);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  void choose();

  QColor currentColor;
};

#endif

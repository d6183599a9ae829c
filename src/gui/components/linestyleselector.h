#ifndef QUELMORA_LINESTYLESELECTOR_H
#define QUELMORA_LINESTYLESELECTOR_H

#include <QWidget>

class ColorLabel;
namespace Ui {
class LineStyleSelector;
}

// A captioned colour and line width. setName() also names the colour label
// and the width spin box after the caption, which gives them stable keys in
// the stored settings ("Original function" -> Original_functionLineStyleColor).
class LineStyleSelector : public QWidget
{
  Q_OBJECT
  Q_PROPERTY(int LineWidth READ width WRITE setWidth)

public:
  explicit LineStyleSelector(QWidget* parent = nullptr);
  ~LineStyleSelector() override;

  void setName(const QString& name);
  // The caption shown, in the user's language; the name keeps the keys.
  void setCaption(const QString& text);
  ColorLabel* colorLabel() const;
  int width() const;
  void setWidth(int w);
  void setWidthVisible(bool visible);

private:
  Ui::LineStyleSelector* ui;
};

#endif

#include "gui/components/linestyleselector.h"

#include "ui_linestyleselector.h"

LineStyleSelector::LineStyleSelector(QWidget* parent)
    : QWidget(parent), ui(new Ui::LineStyleSelector)
{
  ui->setupUi(this);
}

LineStyleSelector::~LineStyleSelector()
{
  delete ui;
}

void LineStyleSelector::setName(const QString& name)
{
  ui->captionLbl->setText(name);
  QString key = name;
  key.replace(QLatin1Char(' '), QLatin1Char('_'));
  ui->colorLbl->setObjectName(key + QStringLiteral("LineStyleColor"));
  ui->widthSpin->setObjectName(key + QStringLiteral("LineStyleWidth"));
}

void LineStyleSelector::setCaption(const QString& text)
{
  ui->captionLbl->setText(text);
  ui->colorLbl->setAccessibleName(tr("Colour of %1").arg(text));
}

ColorLabel* LineStyleSelector::colorLabel() const
{
  return ui->colorLbl;
}

int LineStyleSelector::width() const
{
  return ui->widthSpin->value();
}

void LineStyleSelector::setWidth(int w)
{
  ui->widthSpin->setValue(w);
}

void LineStyleSelector::setWidthVisible(bool visible)
{
  ui->widthLbl->setVisible(visible);
  ui->widthSpin->setVisible(visible);
}

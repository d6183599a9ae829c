#ifndef QUELMORA_ABOUTWIDGET_H
#define QUELMORA_ABOUTWIDGET_H

#include <QWidget>

namespace Ui {
class AboutWidget;
}

// The about box: logo, product name, version, build number and build date.
class AboutWidget : public QWidget
{
  Q_OBJECT

public:
  explicit AboutWidget(QWidget* parent = nullptr);
  ~AboutWidget() override;

private:
  Ui::AboutWidget* ui;
};

#endif

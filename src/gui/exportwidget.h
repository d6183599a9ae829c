#ifndef QUELMORA_EXPORTWIDGET_H
#define QUELMORA_EXPORTWIDGET_H

#include "gui/dialogbase.h"

#include <QSize>
#include <QString>

namespace Ui {
class ExportWidget;
}

// The dialog of both export commands: a target file plus either the value
// columns to write or the size of the picture. It only collects choices; the
// main window does the writing.
class ExportWidget : public DialogBase
{
  Q_OBJECT

public:
  explicit ExportWidget(QWidget* parent = nullptr);
  ~ExportWidget() override;

  static QString fileNamePattern();

  void setValueOptionsVisible(bool visible);
  void setPictureOptionsVisible(bool visible);
  QString fileFilter() const { return filter; }

  void setCurrentSize(int width, int height);
  QSize pictureSize() const;
  void showCurrentSize(int width, int height);

  QString filePath() const;
  bool isInputValid() const;

  bool domainValues() const;
  bool originalFunction() const;
  bool coefficients() const;
  bool nodes() const;
  bool inverseFunction() const;
  // Significant digits of the written numbers.
  int digits() const;

public slots:
  void setupOkBtnState();

protected slots:
  void onPathDialogBtn_clicked();
  void onResetSize_clicked();

private:
  Ui::ExportWidget* ui;
  QSize currentSize;
  QString filter;
};

#endif

#ifndef QUELMORA_PREFERENCESWIDGET_H
#define QUELMORA_PREFERENCESWIDGET_H

#include "gui/dialogbase.h"

#include <QColor>
#include <QPen>
#include <QSize>

// Which session the window saves when it closes ("Save session on exit").
enum class SaveOnExit {
  None = 0,
  DefaultOnly = 1, // the default session ("default.qms") only
  All = 2,
};

class QStackedWidget;
class WidgetPersistence;
namespace Ui {
class PreferencesWidget;
}

// The preferences dialog: colours and line styles, plot options and global
// options on three pages. It keeps the values in its own widgets and stores
// them in the user settings file (group "Preferences") on OK; Cancel restores
// what was stored at the last OK. The main window reads them through the
// accessors.
class PreferencesWidget : public DialogBase
{
  Q_OBJECT

public:
  explicit PreferencesWidget(QWidget* parent = nullptr);
  ~PreferencesWidget() override;

  QColor backgroundColor() const;
  QPen functionPen() const;
  QPen transformPen(int degree) const; // degree 0..3
  int maxZoom() const;
  int maxRecentSessions() const;
  bool showGrid() const;
  bool showComponents() const;
  bool showErrorCurves() const;
  QSize legendIconSize() const;
  // Significant digits of the component table.
  int tablePrecision() const;
  QString formulasLocation() const;
  SaveOnExit saveOnExitPolicy() const;
  void setCurrentPage(int row);
  QStackedWidget* pages() const;

public slots:
  // Stores the values; a settings file that cannot be written is reported.
  void save();
  void load();

protected slots:
  void onSelectPathBtn_clicked();
  void onDefaultFormulaPathBtn_clicked();

private:
  Ui::PreferencesWidget* ui;
  WidgetPersistence* persistence;
};

#endif

#include "gui/preferenceswidget.h"

#include "gui/components/colorlabel.h"
#include "gui/components/linestyleselector.h"
#include "gui/components/prompt.h"
#include "gui/widgetpersistence.h"
#include "ui_preferenceswidget.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

PreferencesWidget::PreferencesWidget(QWidget* parent)
    : DialogBase(parent), ui(new Ui::PreferencesWidget), persistence(new WidgetPersistence(this))
{
  ui->setupUi(centralWidget());
  ui->listWidget->setCurrentRow(-1);
  persistence->addWidget(this, QStringLiteral("Preferences"));

  connect(ui->listWidget, &QListWidget::currentRowChanged, ui->stackedWidget,
          &QStackedWidget::setCurrentIndex);
  connect(buttonBox(), &QDialogButtonBox::accepted, this, &PreferencesWidget::save);
  connect(buttonBox(), &QDialogButtonBox::rejected, this, &PreferencesWidget::load);
  connect(ui->selectBtn, &QPushButton::clicked, this, &PreferencesWidget::onSelectPathBtn_clicked);
  connect(ui->defaultBtn, &QPushButton::clicked, this,
          &PreferencesWidget::onDefaultFormulaPathBtn_clicked);

  const struct
  {
    LineStyleSelector* selector;
    const char* caption;
    QColor color;
  } styles[] = {
      {ui->backgroundStyle, QT_TR_NOOP("Background"), Qt::white},
      {ui->functionStyle, QT_TR_NOOP("Original function"), Qt::black},
      {ui->transform0Style, QT_TR_NOOP("Transformed function Ft0"), Qt::magenta},
      {ui->transform1Style, QT_TR_NOOP("Transformed function Ft1"), Qt::green},
      {ui->transform2Style, QT_TR_NOOP("Transformed function Ft2"), Qt::blue},
      {ui->transform3Style, QT_TR_NOOP("Transformed function Ft3"), QColor(255, 128, 0, 255)},
  };
  // The caption also names the selector's parts, which gives the stored keys;
  // it must not be translated.
  for (const auto& s : styles) {
    s.selector->setName(QString::fromLatin1(s.caption));
    s.selector->setCaption(tr(s.caption));
    s.selector->colorLabel()->setColor(s.color);
  }
  ui->backgroundStyle->setWidthVisible(false);
  ui->listWidget->setFocus();
}

PreferencesWidget::~PreferencesWidget()
{
  delete ui;
}

QColor PreferencesWidget::backgroundColor() const
{
  return ui->backgroundStyle->colorLabel()->color();
}

namespace {

QPen penOf(const LineStyleSelector* s)
{
  return QPen(s->colorLabel()->color(), s->width());
}

} // namespace

QPen PreferencesWidget::functionPen() const
{
  return penOf(ui->functionStyle);
}

QPen PreferencesWidget::transformPen(int degree) const
{
  switch (degree) {
  case 0:
    return penOf(ui->transform0Style);
  case 1:
    return penOf(ui->transform1Style);
  case 2:
    return penOf(ui->transform2Style);
  default:
    return penOf(ui->transform3Style);
  }
}

int PreferencesWidget::maxZoom() const
{
  return ui->maxZoomSpin->value();
}

int PreferencesWidget::maxRecentSessions() const
{
  return ui->maxRecentSpin->value();
}

bool PreferencesWidget::showGrid() const
{
  return ui->showGridCbox->isChecked();
}

bool PreferencesWidget::showComponents() const
{
  return ui->showCompCbox->isChecked();
}

bool PreferencesWidget::showErrorCurves() const
{
  return ui->showErrCbox->isChecked();
}

QSize PreferencesWidget::legendIconSize() const
{
  return QSize(ui->legendIconWidthSpin->value(), ui->legendIconHeightSpin->value());
}

int PreferencesWidget::tablePrecision() const
{
  return ui->tablePrecisionSpin->value();
}

QString PreferencesWidget::formulasLocation() const
{
  return ui->formulasPathEdt->text();
}

SaveOnExit PreferencesWidget::saveOnExitPolicy() const
{
  if (ui->allRbtn->isChecked())
    return SaveOnExit::All;
  if (ui->defaultOnlyRbtn->isChecked())
    return SaveOnExit::DefaultOnly;
  return SaveOnExit::None;
}

void PreferencesWidget::setCurrentPage(int row)
{
  ui->listWidget->setCurrentRow(row);
}

QStackedWidget* PreferencesWidget::pages() const
{
  return ui->stackedWidget;
}

void PreferencesWidget::save()
{
  if (!persistence->save())
    Prompt::critical(this, tr("Error"),
                     tr("The preferences could not be saved to \"%1\".")
                         .arg(persistence->settings()->fileName()));
}

void PreferencesWidget::load()
{
  persistence->load();
}

void PreferencesWidget::onSelectPathBtn_clicked()
{
  const QString dir =
      Prompt::getExistingDirectory(this, tr("Cap"), QCoreApplication::applicationDirPath());
  if (!dir.isEmpty())
    ui->formulasPathEdt->setText(dir);
}

void PreferencesWidget::onDefaultFormulaPathBtn_clicked()
{
  ui->formulasPathEdt->clear();
}

#include "gui/datafileopendialog.h"

#include "gui/appconstants.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QSpinBox>
#include <QStandardPaths>
#include <QUrl>

namespace {

DataFileOpenDialog::Runner& runnerHook()
{
  static DataFileOpenDialog::Runner runner;
  return runner;
}

} // namespace

DataFileOpenDialog::DataFileOpenDialog(QWidget* parent)
    : QFileDialog(parent), xColumnChBox(new QCheckBox(tr("File contains data for X axis"), this)),
      xColumnSpin(new QSpinBox(this))
{
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setWindowTitle(tr("Open file"));
  setNameFilters({AppConstants::filter(AppConstants::txtFilter),
                  AppConstants::filter(AppConstants::csvFilter)});

  xColumnChBox->setObjectName(QStringLiteral("xColumnChBox"));
  xColumnChBox->setChecked(true);
  xColumnChBox->setLayoutDirection(Qt::RightToLeft);
  xColumnSpin->setObjectName(QStringLiteral("xColumnSpin"));
  xColumnChBox->setToolTip(
      tr("One column of the file holds the x values; else the rows are numbered"));
  xColumnSpin->setAccessibleName(tr("Column of the x values"));
  xColumnSpin->setToolTip(tr("The column of the x values, counted from 0"));
  xColumnSpin->setMinimum(0);
  xColumnSpin->setMaximum(999);
  xColumnSpin->setValue(0);
  xColumnSpin->setMaximumWidth(100);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(xColumnChBox, 4, 0);
    grid->addWidget(xColumnSpin, 4, 1);
  }
  connect(xColumnChBox, &QCheckBox::toggled, xColumnSpin, &QSpinBox::setEnabled);

  QList<QUrl> places;
  for (const auto location : {QStandardPaths::ApplicationsLocation, QStandardPaths::DesktopLocation,
                              QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation,
                              QStandardPaths::TempLocation}) {
    const QString path = QStandardPaths::writableLocation(location);
    if (!path.isEmpty())
      places.append(QUrl::fromLocalFile(path));
  }
  for (const QFileInfo& drive : QDir::drives())
    places.append(QUrl::fromLocalFile(drive.absoluteFilePath()));
  setSidebarUrls(places);
}

int DataFileOpenDialog::xColumn() const
{
  return xColumnChBox->isChecked() ? xColumnSpin->value() : -1;
}

int DataFileOpenDialog::run()
{
  if (runnerHook())
    return runnerHook()(*this);
  return exec();
}

void DataFileOpenDialog::setRunner(Runner runner)
{
  runnerHook() = std::move(runner);
}

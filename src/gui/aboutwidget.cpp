#include "gui/aboutwidget.h"

#include "ui_aboutwidget.h"
#include "version_private.h"

#include <QDialogButtonBox>
#include <QPixmap>
#include <QShortcut>

// The resource file is compiled into a static library, which drops it unless
// it is registered explicitly; the macro must be used outside any namespace.
static void initResources()
{
  Q_INIT_RESOURCE(resources);
}

AboutWidget::AboutWidget(QWidget* parent) : QWidget(parent), ui(new Ui::AboutWidget)
{
  ::initResources();
  ui->setupUi(this);
  ui->logoLbl->setPixmap(QPixmap(QStringLiteral(":/graphics/logos/korvant_logo.png")));
  ui->versionValueLbl->setText(QStringLiteral(QUELMORA_VERSION));
  ui->buildNumberValueLbl->setText(QString::fromStdString(Version::buildNumber()));
  ui->buildOnValueLbl->setText(QStringLiteral(__DATE__));
  connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QWidget::close);
  // A plain widget has no Esc of its own, as a dialog would.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
  ui->buttonBox->setFocus();
}

AboutWidget::~AboutWidget()
{
  delete ui;
}

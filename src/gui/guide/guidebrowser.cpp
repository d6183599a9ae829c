#include "gui/guide/guidebrowser.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

// The pages are compiled into a static library, which drops them unless they
// are registered explicitly; the macro must be used outside any namespace.
static void initGuideResources()
{
  Q_INIT_RESOURCE(guide);
}

namespace {

constexpr int targetRole = Qt::UserRole;

QString pageText(const QString& language, const QString& page)
{
  QFile f(QStringLiteral(":/guide/%1/%2").arg(language, page));
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString targetOf(const QUrl& url)
{
  const QString page = url.fileName();
  return url.hasFragment() ? page + QLatin1Char('#') + url.fragment() : page;
}

} // namespace

GuideBrowser::GuideBrowser(QWidget* parent) : QWidget(parent, Qt::Window)
{
  ::initGuideResources();
  setWindowTitle(tr("Quelmora user guide"));
  setObjectName(QStringLiteral("GuideBrowser"));
  resize(960, 680);

  _view = new QTextBrowser(this);
  _view->setObjectName(QStringLiteral("guideView"));
  _view->setAccessibleName(tr("Guide page"));
  _view->setToolTip(tr("The page of the guide"));
  _view->setOpenExternalLinks(true);
  _contents = new QTreeWidget(this);
  _contents->setObjectName(QStringLiteral("guideContents"));
  _contents->setAccessibleName(tr("Contents"));
  _contents->setToolTip(tr("The chapters and sections of the guide"));
  _contents->setHeaderHidden(true);
  _contents->setColumnCount(1);

  auto* toolBar = new QToolBar(this);
  _back = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"));
  _back->setShortcuts(QKeySequence::Back);
  _back->setEnabled(false);
  _forward = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"));
  _forward->setShortcuts(QKeySequence::Forward);
  _forward->setEnabled(false);
  QAction* home = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Contents"));
  home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
  QAction* findAction = toolBar->addAction(tr("Find in page"));
  findAction->setShortcuts(QKeySequence::Find);
  auto* closeAction = new QAction(tr("Close"), this);
  closeAction->setShortcuts(QKeySequence::Close);
  addAction(closeAction);
  connect(closeAction, &QAction::triggered, this, &QWidget::close);
  toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  for (QAction* a : toolBar->actions())
    a->setToolTip(a->text() + QStringLiteral(" (") +
                  a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));

  _findBar = new QWidget(this);
  _findBar->setObjectName(QStringLiteral("findBar"));
  _findEdit = new QLineEdit(_findBar);
  _findEdit->setObjectName(QStringLiteral("findEdt"));
  _findEdit->setPlaceholderText(tr("Find in page"));
  _findEdit->setClearButtonEnabled(true);
  auto* previous = new QToolButton(_findBar);
  previous->setText(tr("Previous"));
  previous->setToolTip(tr("The match before (Shift+F3)"));
  auto* next = new QToolButton(_findBar);
  next->setText(tr("Next"));
  next->setToolTip(tr("The next match (Enter, F3)"));
  _findStatus = new QLabel(_findBar);
  auto* closeFind = new QToolButton(_findBar);
  closeFind->setText(tr("Close"));
  closeFind->setToolTip(tr("Hides the search (Esc)"));
  auto* findLayout = new QHBoxLayout(_findBar);
  findLayout->setContentsMargins(4, 2, 4, 2);
  findLayout->addWidget(new QLabel(tr("Find:"), _findBar));
  findLayout->addWidget(_findEdit, 1);
  findLayout->addWidget(previous);
  findLayout->addWidget(next);
  findLayout->addWidget(_findStatus);
  findLayout->addWidget(closeFind);
  _findBar->hide();

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(_contents);
  splitter->addWidget(_view);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 700});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar);
  layout->addWidget(splitter, 1);
  layout->addWidget(_findBar);
  // Tab reads the window like a page: the contents on the left first.
  setTabOrder(_contents, _view);
  setTabOrder(_view, _findEdit);

  connect(_back, &QAction::triggered, _view, &QTextBrowser::backward);
  connect(_forward, &QAction::triggered, _view, &QTextBrowser::forward);
  connect(_view, &QTextBrowser::backwardAvailable, _back, &QAction::setEnabled);
  connect(_view, &QTextBrowser::forwardAvailable, _forward, &QAction::setEnabled);
  connect(home, &QAction::triggered, this, [this] { open(QString()); });
  connect(findAction, &QAction::triggered, this, &GuideBrowser::showFind);
  connect(_view, &QTextBrowser::sourceChanged, this, &GuideBrowser::followSource);
  connect(_contents, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { open(item->data(0, targetRole).toString()); });
  connect(_contents, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { open(item->data(0, targetRole).toString()); });

  connect(_findEdit, &QLineEdit::textEdited, this, [this] {
    // Typing looks again from where the current match begins.
    QTextCursor c = _view->textCursor();
    c.setPosition(c.selectionStart());
    _view->setTextCursor(c);
    findFromField(false);
  });
  connect(_findEdit, &QLineEdit::returnPressed, this, [this] { findFromField(false); });
  connect(next, &QToolButton::clicked, this, [this] { findFromField(false); });
  connect(previous, &QToolButton::clicked, this, [this] { findFromField(true); });
  connect(closeFind, &QToolButton::clicked, _findBar, &QWidget::hide);
  auto* findNext = new QShortcut(QKeySequence::FindNext, this);
  connect(findNext, &QShortcut::activated, this, [this] { findFromField(false); });
  auto* findPrevious = new QShortcut(QKeySequence::FindPrevious, this);
  connect(findPrevious, &QShortcut::activated, this, [this] { findFromField(true); });
  auto* previousByEnter = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), _findEdit);
  previousByEnter->setContext(Qt::WidgetShortcut);
  connect(previousByEnter, &QShortcut::activated, this, [this] { findFromField(true); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), _findBar);
  escape->setContext(Qt::WidgetWithChildrenShortcut);
  connect(escape, &QShortcut::activated, this, [this] {
    _findBar->hide();
    _view->setFocus();
  });

  buildContents();
  open(QString());
}

GuideBrowser::~GuideBrowser() = default;

QStringList GuideBrowser::languages()
{
  return {QStringLiteral("en"), QStringLiteral("cs")};
}

QStringList GuideBrowser::pages(const QString& language)
{
  ::initGuideResources();
  QStringList list{QStringLiteral("index.html")};
  static const QRegularExpression link(QStringLiteral("href=\"([a-z0-9_-]+\\.html)[\"#]"));
  auto it = link.globalMatch(pageText(language, list.first()));
  while (it.hasNext()) {
    const QString page = it.next().captured(1);
    if (!list.contains(page))
      list.append(page);
  }
  return list;
}

QVector<GuideBrowser::Heading> GuideBrowser::headings(const QString& language)
{
  QVector<Heading> list;
  for (const QString& page : pages(language)) {
    QTextDocument doc;
    doc.setHtml(pageText(language, page));
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
      const int level = b.blockFormat().headingLevel();
      if (level == 1) {
        list.append({b.text().trimmed(), page, QString()});
      } else if (level == 2 && b.begin() != b.end()) {
        const QStringList anchors = b.begin().fragment().charFormat().anchorNames();
        if (!anchors.isEmpty())
          list.append({b.text().trimmed(), page, anchors.first()});
      }
    }
  }
  return list;
}

QUrl GuideBrowser::url(const QString& language, const QString& target)
{
  const QString page = target.section(QLatin1Char('#'), 0, 0);
  QUrl u(QStringLiteral("qrc:/guide/%1/%2")
             .arg(language, page.isEmpty() ? QStringLiteral("index.html") : page));
  const int hash = target.indexOf(QLatin1Char('#'));
  if (hash >= 0)
    u.setFragment(target.mid(hash + 1));
  return u;
}

void GuideBrowser::buildContents()
{
  _contents->clear();
  QTreeWidgetItem* chapter = nullptr;
  for (const Heading& h : headings(_language)) {
    if (h.anchor.isEmpty()) {
      chapter = new QTreeWidgetItem(_contents, {h.title});
      chapter->setData(0, targetRole, h.page);
    } else if (chapter) {
      auto* section = new QTreeWidgetItem(chapter, {h.title});
      section->setData(0, targetRole, h.page + QLatin1Char('#') + h.anchor);
    }
  }
}

void GuideBrowser::setLanguage(const QString& language)
{
  if (!languages().contains(language) || language == _language)
    return;
  const QString target = targetOf(source());
  _language = language;
  buildContents();
  _view->clearHistory();
  open(target);
}

void GuideBrowser::open(const QString& target)
{
  const QUrl u = url(_language, target);
  _view->setSource(u);
  // The same page again only scrolls, and only when told.
  if (u.hasFragment())
    _view->scrollToAnchor(u.fragment());
  followSource(u);
}

QUrl GuideBrowser::source() const
{
  return _view->source();
}

void GuideBrowser::followSource(const QUrl& u)
{
  const QString target = targetOf(u);
  const QString page = u.fileName();
  QTreeWidgetItem* best = nullptr;
  for (QTreeWidgetItemIterator it(_contents); *it; ++it) {
    const QString t = (*it)->data(0, targetRole).toString();
    if (t == target) {
      best = *it;
      break;
    }
    if (!best && t == page)
      best = *it;
  }
  const QSignalBlocker quiet(_contents);
  _contents->setCurrentItem(best);
  if (best)
    _contents->scrollToItem(best);
}

void GuideBrowser::showFind()
{
  _findBar->show();
  _findEdit->setFocus(Qt::ShortcutFocusReason);
  _findEdit->selectAll();
}

bool GuideBrowser::find(const QString& text, bool backward)
{
  if (text.isEmpty())
    return false;
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (_view->find(text, flags))
    return true;
  const QTextCursor before = _view->textCursor();
  QTextCursor end(_view->document());
  end.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  _view->setTextCursor(end);
  if (_view->find(text, flags))
    return true;
  _view->setTextCursor(before);
  return false;
}

void GuideBrowser::findFromField(bool backward)
{
  if (!_findBar->isVisible()) {
    showFind();
    return;
  }
  const QString text = _findEdit->text();
  const bool found = find(text, backward);
  _findStatus->setText(found || text.isEmpty() ? QString() : tr("Not found"));
  _findEdit->setStyleSheet(found || text.isEmpty() ? QString()
                                                   : QStringLiteral("background: #ffd0d0;"));
}

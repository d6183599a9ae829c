#ifndef QUELMORA_GUIDEBROWSER_H
#define QUELMORA_GUIDEBROWSER_H

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The user guide's window: the pages built into the program's resources
// (":/guide/<language>/"), a contents tree of the chapters and their
// sections beside them, links, back and forward, and a search within the
// page (Ctrl+F, then Enter or F3 for the next match, Shift+F3 for the one
// before). It is not modal; Ctrl+W closes it.
class GuideBrowser : public QWidget
{
  Q_OBJECT

public:
  // A heading of the contents: a chapter (its title and page) or one of its
  // sections (its anchor too).
  struct Heading
  {
    QString title;
    QString page;
    QString anchor; // "" for the chapter itself
  };

  explicit GuideBrowser(QWidget* parent = nullptr);
  ~GuideBrowser() override;

  // The languages of the guide: "en" and "cs".
  static QStringList languages();
  // The pages of a language in the order of its contents page, which comes
  // first ("index.html").
  static QStringList pages(const QString& language);
  // The chapters and their sections (second-level headings with an id).
  static QVector<Heading> headings(const QString& language);
  // The address of a target ("page.html#anchor"; "" for the contents).
  static QUrl url(const QString& language, const QString& target);

  // Shows the same place in the other language.
  void setLanguage(const QString& language);
  QString language() const { return _language; }

  // Shows target ("page.html#anchor", "" for the contents).
  void open(const QString& target);
  QUrl source() const;
  QTextBrowser* view() const { return _view; }

  // Selects the next (or, backward, the previous) match of text in the
  // page, going round at its end; false when the page holds none.
  bool find(const QString& text, bool backward = false);
  // Shows the search field with the focus in it.
  void showFind();

private:
  void buildContents();
  void followSource(const QUrl& url);
  void findFromField(bool backward);

  QString _language = QStringLiteral("en");
  QTextBrowser* _view;
  QTreeWidget* _contents;
  QWidget* _findBar;
  QLineEdit* _findEdit;
  QLabel* _findStatus;
  QAction* _back;
  QAction* _forward;
};

#endif

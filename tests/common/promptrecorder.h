#ifndef QUELMORA_TESTS_PROMPTRECORDER_H
#define QUELMORA_TESTS_PROMPTRECORDER_H

#include "gui/components/prompt.h"

#include <QList>
#include <QStringList>

// Answers every modal prompt at once and records what was asked.
// Create one per test function; it restores the real dialogs when destroyed.
class PromptRecorder
{
public:
  PromptRecorder()
  {
    Prompt::setMessageHandler([this](const Prompt::Message& m) {
      messages.append(m);
      return messageAnswer;
    });
    Prompt::setColorHandler([this](const QColor&) {
      ++colorRequests;
      return colorAnswer;
    });
    Prompt::setFileHandler([this](const QString& caption, const QString&, const QString&) {
      fileCaptions.append(caption);
      return fileAnswer;
    });
  }
  ~PromptRecorder()
  {
    Prompt::setMessageHandler({});
    Prompt::setColorHandler({});
    Prompt::setFileHandler({});
  }
  PromptRecorder(const PromptRecorder&) = delete;
  PromptRecorder& operator=(const PromptRecorder&) = delete;

  QStringList titles() const
  {
    QStringList t;
    for (const auto& m : messages)
      t.append(m.title);
    return t;
  }

  QList<Prompt::Message> messages;
  QMessageBox::StandardButton messageAnswer = QMessageBox::Ok;
  QColor colorAnswer;               // invalid: the colour dialog was cancelled
  int colorRequests = 0;
  QStringList fileCaptions;
  QString fileAnswer;               // "" is a cancelled file dialog
};

#endif

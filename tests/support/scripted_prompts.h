#pragma once

#include <deque>
#include <stdexcept>

#include "platform/ui/prompts.h"

namespace beatloom::test {

// Answers questions and dialogs from a script and records what was shown.
// A question with no scripted answer fails the test instead of blocking.
class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    QString text;
    Icon icon;
    Buttons buttons;
  };
  std::deque<Answer> answers;
  std::deque<QString> fileNames;  // for open and save dialogs, in order
  std::deque<QColor> colors;
  std::deque<QFont> fonts;
  std::deque<QString> bpmTexts;  // typed into the tempo dialog; none: closed
  std::deque<QString> stopTexts;  // typed into the stop length dialog
  std::vector<Shown> shown;
  std::vector<FileDialog> fileDialogs;

  Answer Ask(const QString& text, Icon icon, Buttons buttons, const QString&) override {
    shown.push_back({text, icon, buttons});
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (answers.empty()) throw std::logic_error("unscripted question: " + text.toStdString());
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  QString OpenFileName(const FileDialog& d) override { return NextFile(d); }
  QString SaveFileName(const FileDialog& d) override { return NextFile(d); }
  bool ChooseColor(QColor& color, const QString&) override {
    if (colors.empty()) return false;
    color = colors.front();
    colors.pop_front();
    return true;
  }
  bool ChooseFont(QFont& font) override {
    if (fonts.empty()) return false;
    font = fonts.front();
    fonts.pop_front();
    return true;
  }
  bool AskBpm(QString& text) override { return Next(bpmTexts, text); }
  bool AskStop(QString& text) override { return Next(stopTexts, text); }
  static bool Next(std::deque<QString>& texts, QString& text) {
    if (texts.empty()) return false;
    text = texts.front();
    texts.pop_front();
    return true;
  }
  bool WasShown(const QString& text) const {
    for (const Shown& s : shown)
      if (s.text == text) return true;
    return false;
  }

 private:
  QString NextFile(const FileDialog& d) {
    fileDialogs.push_back(d);
    if (fileNames.empty()) return QString();  // cancelled
    const QString f = fileNames.front();
    fileNames.pop_front();
    return f;
  }
};

}  // namespace beatloom::test

#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/main_widgets.h"
#include "session/chart_session.h"

class QPlainTextEdit;
class QTextDocument;

namespace beatloom {

// Binds the header controls, the two memos and the definition lists to the
// document. The document holds the bytes as read; the controls show them
// decoded, and only what the author edits is encoded back (in the chart's own
// encoding), so untouched bytes survive a save unchanged. Edits go through
// the chart session; whatever else changes the chart shows here because the
// session says so.
class HeaderPanel : public QObject {
  Q_OBJECT

 public:
  HeaderPanel(ChartSession& session, const MainWidgets& widgets, QObject* parent);
  ~HeaderPanel() override;

  // Shows the document again. Runs no change handler: the document and
  // Modified stay as they are.
  void RefreshFromDocument();
  // The drop-down items of e_art and e_genre; the texts being typed stay.
  void SetArtistItems(const std::vector<std::string>& items);
  void SetGenreItems(const std::vector<std::string>& items);

 private:
  struct TextField {
    QObject* control;  // QLineEdit or editable QComboBox
    std::string HeaderFields::*field;
  };
  void BindText(QObject* control, std::string HeaderFields::*field);
  // #DIFFICULTY: a choice of five levels or none; a value the chart had
  // outside them shows as an extra item and is kept until another is chosen.
  void BindDifficulty();
  void ShowDifficulty();
  // #SUBARTIST: one line each.
  void BindSubartists();
  void ShowSubartists();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void BindMemo(class QPlainTextEdit* memo, std::vector<std::string> Document::*lines);
  // Takes the memo lines an edit touched into the document; false when the
  // memo and the document no longer line up block for line.
  bool StoreEditedLines(const QTextDocument& text, std::vector<std::string> Document::*lines, int from, int added);
  // Takes the whole memo text into the document.
  void StoreAllLines(const QPlainTextEdit& memo, std::vector<std::string> Document::*lines);
  void SetItems(class QComboBox* combo, const std::vector<std::string>& items);
  void RefreshDefinitions();
  QString Decode(const std::string& bytes) const;
  // One edit of the author's, which this panel already shows. Edits with one
  // merge key in a row (keys typed into one field) make one step.
  void Edit(const char* label, const void* mergeKey, unsigned aspects, unsigned parts,
            const std::function<void(Document&)>& change);
  void Show(const ChartNotice& notice);

  ChartSession& session_;
  ChartSession::ListenerId listener_ = 0;
  Document& doc_;
  const MainWidgets& w_;
  // The header text controls, found by the names of the document's fields.
  std::vector<TextField> textFields_;
  bool refreshing_ = false;
  bool editing_ = false;
};

}  // namespace beatloom

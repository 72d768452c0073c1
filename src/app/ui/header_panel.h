#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "app/ui/main_widgets.h"
#include "model/document.h"

namespace beatloom {

// Binds the header controls, the two memos and the definition lists to the
// document. The document holds the bytes as read; the controls show them
// decoded, and only what the author edits is encoded back (in the chart's own
// encoding), so untouched bytes survive a save unchanged.
class HeaderPanel : public QObject {
  Q_OBJECT

 public:
  HeaderPanel(Document& doc, const MainWidgets& widgets, QObject* parent);

  // Shows the document again. Runs no change handler: the document and
  // Modified stay as they are.
  void RefreshFromDocument();
  // The drop-down items of e_art and e_genre; the texts being typed stay.
  void SetArtistItems(const std::vector<std::string>& items);
  void SetGenreItems(const std::vector<std::string>& items);

 signals:
  // The author changed a header field or a memo; the document is modified.
  void dataChanged();
  // The play mode changed: the lanes follow, the chart is not marked modified.
  void playModeChanged();

 private:
  struct TextField {
    QObject* control;  // QLineEdit or editable QComboBox
    std::string HeaderFields::*field;
  };
  void BindText(QObject* control, std::string HeaderFields::*field);
  void BindMemo(class QPlainTextEdit* memo, std::vector<std::string> Document::*lines);
  void SetItems(class QComboBox* combo, const std::vector<std::string>& items);
  void RefreshDefinitions();
  QString Decode(const std::string& bytes) const;
  void Changed();

  Document& doc_;
  const MainWidgets& w_;
  // The header text controls, found by the names of the document's fields.
  std::vector<TextField> textFields_;
  bool refreshing_ = false;
};

}  // namespace beatloom

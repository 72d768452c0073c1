#include "app/ui/window_settings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRect>
#include <QScrollBar>

#include "model/text_codec.h"

namespace beatloom {

namespace {

// The settings file is CP932 text like the charts; an older one may be UTF-8.
QString FromSettingsText(const std::string& bytes) {
  return QString::fromStdString(ToUtf8(bytes, DetectEncoding(bytes)));
}
std::string ToSettingsText(const QString& text) { return FromUtf8(text.toStdString(), TextEncoding::Cp932); }

}  // namespace

void ShowSettings(const Settings& s, const MainWidgets& w, const MainMenu& m, ViewSettings& view) {
  w.gridHeightBar->setValue(s.GridHeight);
  w.gridWidthBar->setValue(s.GridWidth);
  w.objectHeightBar->setValue(s.ObjectHeight);
  m.showIndexNumbersAction->setChecked(s.ShowIndexNumver);
  m.showDirectInputAction->setChecked(s.ShowDirectInputBox);
  w.directInputBar->setVisible(s.ShowDirectInputBox);
  m.showSettingsColumnAction->setChecked(s.ShowSettingWindow);
  w.settingsColumn->setVisible(s.ShowSettingWindow);
  m.showFileNamesAction->setChecked(s.ShowFileName);
  if (s.FlatObjectWidth) m.flatObjectWidthAction->trigger();
  w.dropOverwriteCheck->setChecked(s.WavBmpDropOverWrite);
  w.keepLayoutCheck->setChecked(s.DebugingSave);
  w.minCellsEdit->setText(FromSettingsText(s.MinimamColWidth));
  m.activationClickGuardAction->setChecked(s.InActiveClickCancel);
  for (int i = 0; i < kColorCount; ++i) view.Colors[i] = RgbFromColorRef(s.Colors[i]);
}

Settings CollectSettings(const MainWidgets& w, const MainMenu& m, const ViewSettings& view) {
  Settings s;
  s.GridHeight = w.gridHeightBar->value();
  s.GridWidth = w.gridWidthBar->value();
  s.ObjectHeight = w.objectHeightBar->value();
  s.GridPosition = w.gridCombo->currentIndex();
  s.SubGridPosition = w.subGridCombo->currentIndex();
  s.ShowIndexNumver = m.showIndexNumbersAction->isChecked();
  s.ShowFileName = m.showFileNamesAction->isChecked();
  s.ShowDirectInputBox = m.showDirectInputAction->isChecked();
  s.ShowSettingWindow = m.showSettingsColumnAction->isChecked();
  s.FlatObjectWidth = m.flatObjectWidthAction->isChecked();
  s.WavBmpDropOverWrite = w.dropOverwriteCheck->isChecked();
  s.DebugingSave = w.keepLayoutCheck->isChecked();
  s.MinimamColWidth = ToSettingsText(w.minCellsEdit->text());
  s.InActiveClickCancel = m.activationClickGuardAction->isChecked();
  for (int i = 0; i < kColorCount; ++i) s.Colors[i] = static_cast<int>(ColorRefFromRgb(view.Colors[i]));
  return s;
}

WindowBounds BoundsOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QRect RectOf(const WindowBounds& b) { return QRect(b.left, b.top, b.width, b.height); }

}  // namespace beatloom

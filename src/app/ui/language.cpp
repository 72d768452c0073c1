#include "app/ui/language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTabWidget>
#include <QTranslator>
#include <functional>

#include "app/ini_file.h"
#include "app/language_file.h"
#include "app/program_folder.h"
#include "app/settings.h"
#include "model/file_io.h"
#include "platform/ui/window_texts.h"

namespace beatloom {

namespace {

using Getter = std::function<QString()>;
using Setter = std::function<void(const QString&)>;

// The texts of one object a translator may change. A text the object's class
// keeps to itself has no getter.
struct Translatable {
  Getter caption;
  Setter setCaption;
  Getter hint;
  Setter setHint;
};

Translatable WidgetTexts(QWidget* w, Getter caption, Setter setCaption) {
  return {std::move(caption), std::move(setCaption), [w] { return w->toolTip(); },
          [w](const QString& t) { w->setToolTip(t); }};
}

Translatable HintOnly(QWidget* w) { return WidgetTexts(w, nullptr, nullptr); }

template <class W>
Translatable CaptionAndHint(W* w, QString (W::*get)() const, void (W::*set)(const QString&)) {
  return WidgetTexts(
      w, [w, get] { return (w->*get)(); }, [w, set](const QString& t) { (w->*set)(t); });
}

// An action without a tool tip of its own reports its text as one; that is
// no hint of the design.
QString OwnToolTip(const QAction* a) {
  QAction plain;
  plain.setText(a->text());
  plain.setIconText(a->iconText());
  return a->toolTip() == plain.toolTip() ? QString() : a->toolTip();
}

Translatable ActionTexts(QAction* a) {
  return {[a] { return a->text(); }, [a](const QString& t) { a->setText(t); }, [a] { return OwnToolTip(a); },
          [a](const QString& t) { a->setToolTip(t); }};
}

// A page of a tab widget is held by the widget's page stack.
QTabWidget* TabsHolding(QWidget* page) {
  QWidget* stack = page->parentWidget();
  auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
  return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

Translatable TabSheetTexts(QTabWidget* tabs, QWidget* page) {
  return {[=] { return tabs->tabText(tabs->indexOf(page)); },
          [=](const QString& t) { tabs->setTabText(tabs->indexOf(page), t); },
          [=] { return tabs->tabToolTip(tabs->indexOf(page)); },
          [=](const QString& t) { tabs->setTabToolTip(tabs->indexOf(page), t); }};
}

Translatable WidgetTextsOf(QWidget* w) {
  if (QTabWidget* tabs = TabsHolding(w)) return TabSheetTexts(tabs, w);
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    return CaptionAndHint(b, &QAbstractButton::text, &QAbstractButton::setText);
  if (auto* l = qobject_cast<QLabel*>(w)) return CaptionAndHint(l, &QLabel::text, &QLabel::setText);
  if (auto* g = qobject_cast<QGroupBox*>(w)) return CaptionAndHint(g, &QGroupBox::title, &QGroupBox::setTitle);
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w)) return HintOnly(w);
  return {};
}

Translatable TextsOf(QObject* o, QWidget& window) {
  if (o == &window) return CaptionAndHint(&window, &QWidget::windowTitle, &QWidget::setWindowTitle);
  if (auto* a = qobject_cast<QAction*>(o)) return ActionTexts(a);
  if (auto* w = qobject_cast<QWidget*>(o)) return WidgetTextsOf(w);
  return {};
}

// Controls the design named; Qt's own parts carry "qt_" names.
bool IsNamedControl(const QObject* o) {
  const QString name = o->objectName();
  return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

// Another window held by this one (a dialog, the splash) has texts of its
// own; a menu is a window only to pop up.
bool IsOtherWindow(const QObject* o) {
  const auto* w = qobject_cast<const QWidget*>(o);
  return w && w->isWindow() && !qobject_cast<const QMenu*>(w);
}

void VisitDescendants(QObject& parent, const std::function<void(QObject&)>& visit) {
  for (QObject* child : parent.children()) {
    if (IsOtherWindow(child)) continue;
    if (IsNamedControl(child)) visit(*child);
    VisitDescendants(*child, visit);
  }
}

// The window itself first, then what it holds in the order it was made.
void VisitControls(QWidget& window, const std::function<void(QObject&, const Translatable&)>& visit) {
  visit(window, TextsOf(&window, window));
  VisitDescendants(window, [&](QObject& o) { visit(o, TextsOf(&o, window)); });
}

void Replace(const Getter& current, const Setter& set, const std::string& translation) {
  if (!current || translation.empty() || current().isEmpty()) return;
  set(QString::fromStdString(translation));
}

void Collect(LanguageTemplate& out, const std::string& window, const std::string& control, TextKind kind,
             const Getter& current) {
  if (!current) return;
  const QString text = current();
  if (!text.isEmpty()) out.Add(window, control, kind, text.toStdString());
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The Qt translation installed last, owned by the application.
QPointer<QTranslator>& QtTranslator() {
  static QPointer<QTranslator> translator;
  return translator;
}

std::string& QtTranslationInUse() {
  static std::string name;
  return name;
}

bool DevModeOn(const std::string& programFolder) {
  return IniFile(JoinPath(programFolder, kSettingsFile)).ReadBool(kSectionBoot, "DevMode", false);
}

}  // namespace

void ApplyLanguage(QWidget& window, const LanguageTexts& texts) {
  if (texts.Empty() || !IsNamedControl(&window)) return;
  const std::string form = window.objectName().toStdString();
  VisitControls(window, [&](QObject& o, const Translatable& t) {
    const std::string control = o.objectName().toStdString();
    Replace(t.caption, t.setCaption, texts.Text(form, control, TextKind::Caption));
    Replace(t.hint, t.setHint, texts.Text(form, control, TextKind::Hint));
  });
}

void WriteLanguageTemplate(QWidget& window, const std::string& programFolder) {
  if (!IsNamedControl(&window)) return;
  const std::string form = window.objectName().toStdString();
  LanguageTemplate keys;
  VisitControls(window, [&](QObject& o, const Translatable& t) {
    const std::string control = o.objectName().toStdString();
    Collect(keys, form, control, TextKind::Caption, t.caption);
    Collect(keys, form, control, TextKind::Hint, t.hint);
  });
  keys.Write(JoinPath(programFolder, kLanguageFile), QtTranslationInUse());
}

bool UseQtTranslation(const std::string& name, const std::vector<std::string>& folders) {
  if (QtTranslator()) {
    QCoreApplication::removeTranslator(QtTranslator());
    delete QtTranslator();
  }
  QtTranslationInUse() = name;
  if (name.empty()) return true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  std::vector<QString> places;
  for (const std::string& folder : folders) places.push_back(QFile::decodeName(folder.c_str()));
  places.push_back(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  for (const QString& place : places) {
    if (translator->load(QString::fromStdString(name), place)) {
      QCoreApplication::installTranslator(translator);
      QtTranslator() = translator;
      return true;
    }
  }
  delete translator;
  return false;
}

std::string DesktopLanguage() {
  const QLocale desktop = QLocale::system();
  const QStringList languages = desktop.uiLanguages();
  return (languages.isEmpty() ? desktop.name() : languages.front()).toStdString();
}

void StartLanguage(QWidget& mainWindow, const std::string& programFolder, const std::string& executableFolder,
                   const std::string& desktopLanguage) {
  const std::string executable =
      executableFolder.empty() ? LocalPath(QCoreApplication::applicationDirPath()) : executableFolder;
  const LanguageFolders folders{programFolder, executable, SharedDataFolder(executable)};
  // The choice is the one made at start-up for every window of this run,
  // even when the options dialog changes it meanwhile.
  const InterfaceLanguage chosen = ReadInterfaceLanguage(IniFile(JoinPath(programFolder, kSettingsFile)));
  const std::string desktop = desktopLanguage.empty() ? DesktopLanguage() : desktopLanguage;
  SetWindowCreatedHook([programFolder, folders, chosen, desktop](QWidget& window) {
    ApplyLanguage(window, LanguageTexts(ChooseLanguageFile(folders, chosen, desktop)));
    if (DevModeOn(programFolder)) WriteLanguageTemplate(window, programFolder);
  });
  const LanguageTexts texts(ChooseLanguageFile(folders, chosen, desktop));
  // Qt's own buttons and dialogs speak the language of the texts; a
  // translation Qt does not have leaves them in its built-in English.
  UseQtTranslation(texts.QtTranslation(), {programFolder, folders.shared});
  ApplyLanguage(mainWindow, texts);
}

}  // namespace beatloom

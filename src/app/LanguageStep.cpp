#include "LanguageStep.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "MainWindow.h"
#include "widgets/ImageButton.h"

namespace brisko {

namespace {

QObject* WindowOf(const LanguageWindows& windows, const std::string& name) {
    if (name == "main")
        return windows.main;
    if (name == "options")
        return windows.options;
    if (name == "editor")
        return windows.editor;
    if (name == "update")
        return windows.update;
    if (name == "tray")
        return windows.tray;
    return nullptr;
}

void SetCaption(QObject* window, const QString& component, const QString& text) {
    if (!window)
        return;
    for (QObject* object : window->findChildren<QObject*>(component)) {
        if (auto* label = qobject_cast<QLabel*>(object)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            button->setText(text);
        } else if (auto* action = qobject_cast<QAction*>(object)) {
            action->setText(text);
        } else if (auto* page = qobject_cast<QWidget*>(object)) {
            // A tab page: the caption is its tab's text.
            for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
                if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                    const int index = tabs->indexOf(page);
                    if (index >= 0)
                        tabs->setTabText(index, text);
                    break;
                }
            }
        }
    }
}

void SetHint(QObject* window, const QString& component, const QString& text) {
    if (!window)
        return;
    for (QWidget* w : window->findChildren<QWidget*>(component))
        w->setToolTip(text);
}

}  // namespace

std::array<QString, 3> ApplyLanguageLines(const LanguageLines& lines,
                                          const LanguageWindows& windows) {
    std::array<QString, 3> updateMessages;
    QString confirmText;
    QString confirmTitle;
    for (const LanguageLine& line : LanguageTable()) {
        const QString text = QString::fromStdString(lines.at(line.number - 1));
        for (const LanguageTarget& target : line.targets) {
            QObject* window = WindowOf(windows, target.window);
            const QString component = QString::fromStdString(target.component);
            switch (target.kind) {
                case LanguageTargetKind::Caption:
                    SetCaption(window, component, text);
                    break;
                case LanguageTargetKind::Hint:
                    SetHint(window, component, text);
                    break;
                case LanguageTargetKind::MenuTitle:
                    if (windows.main) {
                        const auto menus = windows.main->menuBar()->actions();
                        if (target.index >= 0 && target.index < menus.size())
                            menus[target.index]->setText(text);
                    }
                    break;
                case LanguageTargetKind::ActionEntry:
                    if (windows.main)
                        for (int n = 1; n <= kSlotCount; ++n)
                            windows.main->row(n).actionList()->setItemText(target.index, text);
                    break;
                case LanguageTargetKind::OpenModeEntry:
                    if (windows.main && target.index >= 0 && target.index < 3)
                        for (int n = 1; n <= kSlotCount; ++n)
                            windows.main->row(n).modeItem(target.index)->setText(text);
                    break;
                case LanguageTargetKind::ConfirmText:
                    confirmText = text;
                    break;
                case LanguageTargetKind::ConfirmTitle:
                    confirmTitle = text;
                    break;
                case LanguageTargetKind::UpdateMessage:
                    if (target.index >= 0 && target.index < 3)
                        updateMessages[target.index] = text;
                    break;
                case LanguageTargetKind::WindowCaption:
                    if (auto* w = qobject_cast<QWidget*>(window))
                        w->setWindowTitle(text);
                    break;
            }
        }
    }
    if (windows.main) {
        windows.main->setDeleteAllTexts(confirmTitle, confirmText);
        // The text button shows its words on its face as well; they follow its hint.
        for (int n = 1; n <= kSlotCount; ++n) {
            SlotRow& row = windows.main->row(n);
            row.setTextButtonCaption(row.textButton()->hint());
        }
    }
    return updateMessages;
}

std::array<QString, kActionCount> ActionNames(const LanguageLines& lines) {
    std::array<QString, kActionCount> names;
    for (int i = 0; i < kActionCount; ++i)
        names[i] = QString::fromUtf8(kActionCaptions[i]);
    for (const LanguageLine& line : LanguageTable())
        for (const LanguageTarget& target : line.targets)
            if (target.kind == LanguageTargetKind::ActionEntry && target.index >= 0 &&
                target.index < kActionCount)
                names[target.index] = QString::fromStdString(lines.at(line.number - 1));
    return names;
}

}  // namespace brisko

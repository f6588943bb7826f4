#include "qt/QtDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <iostream>
#include <vector>

#include "framework/AfxIds.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/Questions.h"
#include "qt/QtProgressDialog.h"
#include "qt/TemplateDialog.h"

namespace {

// Messages and questions carry the current application's name as their title; the platform,
// and so these dialogs, are made before the application runs on them.
std::string AppName() {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->GetAppName() : std::string("Velk");
}

}  // namespace

QWidget* QtDialogs::Owner() {
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr) {
        return active;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits("QMainWindow")) {
            return widget;
        }
    }
    return nullptr;
}

std::optional<std::string> QtDialogs::AskOpenPath(const std::string& caption) {
    // No filter: the document string names no file type, so every file is offered.
    QString path = QFileDialog::getOpenFileName(Owner(), QString::fromStdString(caption));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    // The file system's bytes, also for names that are not UTF-8.
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> QtDialogs::AskSavePath(const std::string& caption,
                                                  const std::string& initialName) {
    // No filter and no default suffix: the name typed is the name used.
    QString path = QFileDialog::getSaveFileName(Owner(), QString::fromStdString(caption),
                                                QString::fromStdString(initialName));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(path).toStdString();
}

SaveChoice QtDialogs::AskSaveChanges(const std::string& documentTitle) {
    QMessageBox::StandardButton answer = QMessageBox::warning(
        Owner(), QString::fromStdString(AppName()),
        QString::fromStdString("Save changes to " + documentTitle + "?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (answer) {
        case QMessageBox::Yes:
            return SaveChoice::save;
        case QMessageBox::No:
            return SaveChoice::discard;
        default:
            return SaveChoice::cancel;
    }
}

namespace {

/// Shows the question; answers the index of the button chosen, or the escape button's when the
/// box is closed otherwise.
int AskWithButtons(QWidget* owner, const std::string& text, const ButtonQuestion& question) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(AppName()),
                    QString::fromStdString(text), QMessageBox::NoButton, owner);
    std::vector<QPushButton*> made;
    for (std::size_t i = 0; i < question.count; ++i) {
        const QuestionButton& button = question.buttons[i];
        const QMessageBox::ButtonRole role =
            button.role == ButtonRole::accept        ? QMessageBox::AcceptRole
            : button.role == ButtonRole::destructive ? QMessageBox::DestructiveRole
                                                     : QMessageBox::RejectRole;
        made.push_back(box.addButton(QString::fromUtf8(button.label), role));
    }
    box.setDefaultButton(made[static_cast<std::size_t>(question.defaultButton)]);
    box.setEscapeButton(made[static_cast<std::size_t>(question.escapeButton)]);
    box.exec();
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (box.clickedButton() == made[i]) {
            return static_cast<int>(i);
        }
    }
    return question.escapeButton;
}

}  // namespace

ChangedFileChoice QtDialogs::AskChangedFile(const std::string& text) {
    return ChangedFileAnswer(AskWithButtons(Owner(), text, kChangedFileQuestion));
}

bool QtDialogs::AskReloadChanged(const std::string& text) {
    return ReloadAnswer(AskWithButtons(Owner(), text, kReloadQuestion));
}

RecoveryChoice QtDialogs::AskRecovery(const std::string& text) {
    return RecoveryAnswer(AskWithButtons(Owner(), text, kRecoveryQuestion));
}

void QtDialogs::ShowMessage(const std::string& text, MessageKind kind) {
    QString title = QString::fromStdString(AppName());
    QString message = QString::fromStdString(text);
    switch (kind) {
        case MessageKind::information:
            QMessageBox::information(Owner(), title, message);
            break;
        case MessageKind::warning:
            std::cerr << "velk: warning: " << text << '\n';
            QMessageBox::warning(Owner(), title, message);
            break;
        case MessageKind::error:
            std::cerr << "velk: " << text << '\n';
            QMessageBox::critical(Owner(), title, message);
            break;
    }
}

int QtDialogs::RunModal(CDialog& dialog) {
    const DialogTemplate* layout = dialog.GetTemplate();
    CWinApp* app = dialog.GetApp();
    if (layout == nullptr || app == nullptr) {
        return -1;
    }
    TemplateDialog window(*layout, app->GetResources(), Owner());
    if (!dialog.OnInitDialog()) {
        return afx::IDCANCEL;
    }
    int result = window.exec();
    return result == QDialog::Rejected ? afx::IDCANCEL : result;
}

std::unique_ptr<ProgressDialog> QtDialogs::BeginProgress(const std::string& caption,
                                                         const std::string& text) {
    return std::make_unique<QtProgressDialog>(caption, text, Owner());
}

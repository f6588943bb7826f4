#include "qt/MainWindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

#include "framework/AfxIds.h"
#include "framework/CFrameWnd.h"
#include "qt/ClientArea.h"
#include "qt/KeyNames.h"
#include "qt/LockKeys.h"
#include "qt/StatusBarPanes.h"

namespace {

constexpr int kLockKeyPollMs = 100;

// The command an action runs; 0 for none.
constexpr const char* kCommandProperty = "velkCommand";

}  // namespace

MainWindow::MainWindow(CFrameWnd& frame) : frame_(frame), client_(new ClientArea(this)) {
    setCentralWidget(client_);
    resize(kInitialWidth, kInitialHeight);
    FitFrameToScreen();
    client_->SettleGeometry();
    lockKeyTimer_.setInterval(kLockKeyPollMs);
    QObject::connect(&lockKeyTimer_, &QTimer::timeout, this, [this] { PollLockKeys(); });
}

MainWindow::~MainWindow() {
    lockKeyTimer_.stop();
}

WindowHost* MainWindow::GetClientHost() {
    return client_;
}

void MainWindow::SetTitle(const std::string& documentTitle, const std::string& appTitle,
                          bool modified) {
    QString title = QString::fromStdString(appTitle);
    if (!documentTitle.empty()) {
        // Qt shows "[*]" as "*" while the window is modified, and hides it otherwise.
        QString document = QString::fromStdString(documentTitle).replace("[*]", "[*][*]");
        title = document + "[*] - " + title;
    }
    setWindowTitle(title);
    setWindowModified(modified);
}

void MainWindow::SetMenu(const std::vector<MenuItem>& menu) {
    menuBar()->clear();
    menus_.clear();
    for (std::size_t index = 0; index < menu.size(); ++index) {
        QMenu* popup = menuBar()->addMenu(QString::fromStdString(menu[index].text));
        menus_.push_back(popup);
        QObject::connect(popup, &QMenu::aboutToShow, this, [this, index] { RebuildMenu(index); });
        QObject::connect(popup, &QMenu::hovered, this, [this](QAction* action) {
            frame_.OnMenuSelect(action->property(kCommandProperty).toUInt());
        });
        QObject::connect(popup, &QMenu::aboutToHide, this, [this] { frame_.OnMenuSelect(0); });
        // Qt highlights no grey item, so hovered never names one; the pointer does.
        popup->installEventFilter(this);
        RebuildMenu(index);
    }
    client_->SettleGeometry();
}

void MainWindow::RebuildMenu(std::size_t index) {
    if (index >= menus_.size()) {
        return;
    }
    QMenu* popup = menus_[index];
    popup->clear();
    for (const MenuItem& item : frame_.GetMenuItems(index)) {
        if (item.kind == MenuItem::Kind::Separator) {
            popup->addSeparator();
            continue;
        }
        // Pop-ups inside pop-ups do not occur in our menus; they show as plain items.
        QAction* action = popup->addAction(QString::fromStdString(item.text));
        action->setProperty(kCommandProperty, item.command);
        CCmdUI state = frame_.QueryCommand(item.command);
        action->setEnabled(!item.grayed && state.IsHandled() && state.IsEnabled());
        if (state.IsChecked()) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        unsigned command = item.command;
        QObject::connect(action, &QAction::triggered, this,
                         [this, command] { frame_.ExecuteCommand(command); });
    }
}

void MainWindow::SetAccelerators(const std::vector<Accelerator>& accelerators) {
    for (QShortcut* shortcut : shortcuts_) {
        delete shortcut;
    }
    shortcuts_.clear();
    shortcutCommands_.clear();
    for (const Accelerator& accelerator : accelerators) {
        auto* shortcut = new QShortcut(KeySequenceOf(accelerator), this);
        shortcut->setContext(Qt::WindowShortcut);
        unsigned command = accelerator.command;
        QObject::connect(shortcut, &QShortcut::activated, this,
                         [this, command] { frame_.ExecuteCommand(command); });
        shortcuts_.push_back(shortcut);
        shortcutCommands_.push_back(command);
    }
    RefreshCommands();
}

void MainWindow::SetIcon(const std::vector<IconImage>& images) {
    QIcon icon;
    for (const IconImage& image : images) {
        QImage picture;
        if (picture.loadFromData(image.png.data(), static_cast<int>(image.png.size()), "PNG")) {
            icon.addPixmap(QPixmap::fromImage(picture));
        }
    }
    setWindowIcon(icon);
}

StatusBarHost* MainWindow::CreateStatusBar() {
    if (statusPanes_ == nullptr) {
        statusPanes_ =
            std::make_unique<StatusBarPanes>(statusBar(), [this] { client_->SettleGeometry(); });
        lockKeyTimer_.start();
        client_->SettleGeometry();
    }
    return statusPanes_.get();
}

void MainWindow::Show(int command) {
    if (command == afx::SW_HIDE) {
        hide();
        return;
    }
    show();
    FitFrameToScreen();  // the window system's frame is known now
    PollLockKeys();
}

void MainWindow::FitFrameToScreen() {
    // A scaled or small screen may have less room than the starting size: the frame never
    // starts larger than what the screen leaves free, so its status bar and scroll bars show.
    const QScreen* where = screen();
    if (where == nullptr) {
        return;
    }
    const QSize room = where->availableGeometry().size();
    const QSize frame = frameGeometry().size();
    const QSize excess(std::max(frame.width() - room.width(), 0),
                       std::max(frame.height() - room.height(), 0));
    if (!excess.isNull()) {
        resize(size() - excess);
        client_->SettleGeometry();
    }
}

void MainWindow::RefreshCommands() {
    for (std::size_t i = 0; i < shortcuts_.size(); ++i) {
        CCmdUI state = frame_.QueryCommand(shortcutCommands_[i]);
        shortcuts_[i]->setEnabled(state.IsHandled() && state.IsEnabled());
    }
    // The menus are brought up to date each time one opens (RebuildMenu): rebuilding one here
    // could delete the very action whose signal is running this.
}

void MainWindow::PollLockKeys() {
    if (statusPanes_ != nullptr) {
        statusPanes_->ShowLockKeys(QueryLockKeys());
    }
    // The idle moment in which the shortcuts catch up with the commands' state.
    RefreshCommands();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (auto* popup = qobject_cast<QMenu*>(watched); popup != nullptr) {
            QAction* action =
                popup->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            // A separator has no command: the idle message.
            if (action != nullptr && (!action->isEnabled() || action->isSeparator())) {
                frame_.OnMenuSelect(action->property(kCommandProperty).toUInt());
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (frame_.OnClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

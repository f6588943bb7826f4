#include "qt/QtProgressDialog.h"

#include <QCoreApplication>

#include "files/ProgressObserver.h"

QtProgressDialog::QtProgressDialog(const std::string& caption, const std::string& text,
                                   QWidget* owner)
    : dialog_(owner), text_(QString::fromStdString(text)) {
    dialog_.setWindowTitle(QString::fromStdString(caption));
    dialog_.setLabelText(text_);
    dialog_.setWindowModality(Qt::ApplicationModal);
    // Shown at once: the caller waited already, and it closes the dialog itself.
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setRange(0, 1000);
    dialog_.setMinimumWidth(360);
    dialog_.show();
}

bool QtProgressDialog::Update(const ProgressReport& report) {
    if (cancellable_ && !report.cancellable) {
        cancellable_ = false;
        dialog_.setCancelButton(nullptr);
    }
    QString line;
    if (report.total > 0) {
        line = QString::number(report.Permille() / 10) + "% of " +
               QString::fromStdString(DescribeBytes(report.total));
    } else {
        line = QString::fromStdString(DescribeBytes(report.done));
        dialog_.setRange(0, 0);  // a busy bar: how much there is to do is not known
    }
    if (!cancellable_) {
        line += ", finishing";
    } else if (report.secondsLeft >= 0) {
        line += ", about " + QString::fromStdString(DescribeSeconds(report.secondsLeft)) + " left";
    }
    dialog_.setLabelText(text_ + "\n" + line);
    if (report.total > 0) {
        dialog_.setValue(report.Permille());
    }
    QCoreApplication::processEvents();
    return !cancellable_ || !dialog_.wasCanceled();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper: watches for modal windows while a test runs. Each one that opens is
// recorded, handed to an optional inspector, and closed, so a test never blocks on a box
// and a box that nobody expected shows up in the record instead of hanging the run.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>

struct SeenModal {
    QString objectName;
    QString title;
    QString text;  // message boxes only
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool isMessageBox = false;
};

class ModalWatcher : public QObject {
  public:
    ModalWatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start();
    }

    // Called with each modal window before it is closed.
    std::function<void(QWidget*)> inspect;

    // The modal windows seen so far; taking them marks them as expected.
    QList<SeenModal> take() {
        QList<SeenModal> seen;
        seen.swap(seen_);
        return seen;
    }
    bool empty() const { return seen_.isEmpty(); }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        SeenModal seen;
        seen.objectName = modal->objectName();
        seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.isMessageBox = true;
            seen.text = box->text();
            seen.icon = box->icon();
        }
        seen_.append(seen);
        if (inspect) inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer timer_;
    QList<SeenModal> seen_;
};

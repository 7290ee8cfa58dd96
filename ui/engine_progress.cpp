// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/engine_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <utility>

#include "engine/engine.h"

namespace zentu::ui {

EngineProgress::EngineProgress(zentu::Engine& engine, QWidget* parent, QString label, QString title,
                               Bar bar)
    : engine_(engine), parent_(parent), label_(std::move(label)), title_(std::move(title)) {
    saved_report_ = std::exchange(engine_.ProgressReport, nullptr);
    saved_cancel_ = std::exchange(engine_.CancelRequested, nullptr);
    if (bar == Bar::Engine)
        engine_.ProgressReport = [this](std::uint64_t done, std::uint64_t total) {
            SetBar(done, total);
        };
    engine_.CancelRequested = [this] { return Cancelled(); };
    clock_.start();
}

EngineProgress::~EngineProgress() {
    engine_.ProgressReport = std::move(saved_report_);
    engine_.CancelRequested = std::move(saved_cancel_);
    delete dialog_;
}

void EngineProgress::SetBar(std::uint64_t done, std::uint64_t total) {
    if (total > 0) permille_ = int(done * 1000 / total);
}

bool EngineProgress::Continue(std::uint64_t done, std::uint64_t total) {
    SetBar(done, total);
    return !Cancelled();
}

void EngineProgress::ShowDialog() {
    dialog_ = new QProgressDialog(label_, QStringLiteral("İptal"), 0, 1000, parent_);
    dialog_->setObjectName(QStringLiteral("EngineProgress"));
    dialog_->setWindowTitle(title_);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    // The Cancel button, closing the dialog and Escape all end the computation.
    QObject::connect(dialog_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    QObject::connect(dialog_, &QDialog::rejected, [this] { cancelled_ = true; });
    dialog_->show();
}

bool EngineProgress::Cancelled() {
    const qint64 now = clock_.elapsed();
    if (!dialog_) {
        if (now < kDelayMs) return cancelled_;
        ShowDialog();
    } else if (now - last_update_ < kRefreshMs) {
        return cancelled_;
    }
    last_update_ = now;
    dialog_->setValue(permille_);
    QCoreApplication::processEvents();
    return cancelled_;
}

}  // namespace zentu::ui

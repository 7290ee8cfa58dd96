#include "ui/engine_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "ui/application.h"
#include "engine.h"

namespace zentu::ui {

EngineProgress::EngineProgress(zentu::Engine& engine, QWidget* parent, QString label)
    : engine_(engine), parent_(parent), label_(std::move(label)) {
    saved_report_ = std::move(engine_.ProgressReport);
    saved_cancel_ = std::move(engine_.CancelRequested);
    engine_.ProgressReport = [this](std::uint64_t done, std::uint64_t total) { Report(done, total); };
    engine_.CancelRequested = [this] { return Cancelled(); };
    clock_.start();
}

EngineProgress::~EngineProgress() {
    engine_.ProgressReport = std::move(saved_report_);
    engine_.CancelRequested = std::move(saved_cancel_);
    delete dialog_;
}

void EngineProgress::Report(std::uint64_t done, std::uint64_t total) {
    const qint64 now = clock_.elapsed();
    if (!dialog_) {
        if (now < kDelayMs) return;
        dialog_ = new QProgressDialog(label_, QStringLiteral("İptal"), 0, 1000, parent_);
        dialog_->setObjectName(QStringLiteral("EngineProgress"));
        dialog_->setWindowTitle(ApplicationTitle());
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        // The Cancel button, closing the dialog and Escape all end the computation.
        QObject::connect(dialog_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
        QObject::connect(dialog_, &QDialog::rejected, [this] { cancelled_ = true; });
        dialog_->show();
    } else if (now - last_update_ < 40) {
        return;  // keep the evaluation fast: the window is refreshed 25 times a second
    }
    last_update_ = now;
    if (total > 0) dialog_->setValue(int(done * 1000 / total));
    QCoreApplication::processEvents();
}

bool EngineProgress::Cancelled() const { return cancelled_; }

}  // namespace zentu::ui

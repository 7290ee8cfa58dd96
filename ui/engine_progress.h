// SPDX-License-Identifier: GPL-3.0-or-later
// Long computations in a window: after half a second a progress dialog with a Cancel
// button appears, and Cancel ends the computation (the engine then leaves its answer
// store and data series as they were, and the window shows the failure its own way).
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "ui/application.h"

class QProgressDialog;
class QWidget;

namespace zentu {
class Engine;
}

namespace zentu::ui {

// Installs the engine's progress and cancellation hooks for the life of the object and
// restores the previous ones afterwards.
//
// The bar follows either the engine's own reports (one long evaluation, as in the
// calculator window) or the caller's Continue(done, total) (a loop of many evaluations,
// as the graph window's samples); in both cases the engine's polls inside an evaluation
// keep the dialog live and see Cancel, so a long INT or DIF in one sample stops too.
class EngineProgress {
  public:
    enum class Bar { Engine, Caller };

    EngineProgress(zentu::Engine& engine, QWidget* parent, QString label,
                   QString title = ApplicationTitle(), Bar bar = Bar::Engine);
    ~EngineProgress();
    EngineProgress(const EngineProgress&) = delete;
    EngineProgress& operator=(const EngineProgress&) = delete;

    // The caller's progress; false once the user has cancelled.
    bool Continue(std::uint64_t done, std::uint64_t total);
    // Whether the user has cancelled. Shows the dialog when it is due and lets it work.
    bool Cancelled();

    // How long a computation runs before the dialog appears.
    static constexpr qint64 kDelayMs = 500;
    // The dialog is refreshed at most this often, so that the computation stays fast.
    static constexpr qint64 kRefreshMs = 40;

  private:
    void SetBar(std::uint64_t done, std::uint64_t total);
    void ShowDialog();

    zentu::Engine& engine_;
    QWidget* parent_;
    QString label_;
    QString title_;
    QElapsedTimer clock_;
    qint64 last_update_ = 0;
    int permille_ = 0;
    bool cancelled_ = false;
    QPointer<QProgressDialog> dialog_;
    std::function<void(std::uint64_t, std::uint64_t)> saved_report_;
    std::function<bool()> saved_cancel_;
};

}  // namespace zentu::ui

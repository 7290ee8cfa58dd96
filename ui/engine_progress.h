// Long evaluations in a window: after half a second a progress dialog with a Cancel
// button appears, and Cancel ends the evaluation (the engine then leaves its answer
// store and data series as they were and the line shows its failure message).
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

class QProgressDialog;
class QWidget;

namespace zentu {
class Engine;
}

namespace zentu::ui {

// Installs the engine's progress and cancellation hooks for the life of the object and
// restores the previous ones afterwards.
class EngineProgress {
  public:
    EngineProgress(zentu::Engine& engine, QWidget* parent, QString label);
    ~EngineProgress();
    EngineProgress(const EngineProgress&) = delete;
    EngineProgress& operator=(const EngineProgress&) = delete;

    // How long an evaluation runs before the dialog appears.
    static constexpr qint64 kDelayMs = 500;

  private:
    void Report(std::uint64_t done, std::uint64_t total);
    bool Cancelled() const;

    zentu::Engine& engine_;
    QWidget* parent_;
    QString label_;
    QElapsedTimer clock_;
    qint64 last_update_ = 0;
    bool cancelled_ = false;
    QPointer<QProgressDialog> dialog_;
    std::function<void(std::uint64_t, std::uint64_t)> saved_report_;
    std::function<bool()> saved_cancel_;
};

}  // namespace zentu::ui

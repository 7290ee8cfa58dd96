// SPDX-License-Identifier: GPL-3.0-or-later
// Program-wide pieces of the desktop program, used by every window: the application title,
// the toolkit's own texts in Turkish, window placement on the screen, the general error box
// and the guard that every handler runs through.
//
// Errors: the engine reports its failures in ErrorFlag, but the code around it throws
// (EXEC's rounding overflow, the graph model's GraphError, file errors, an exhausted
// memory). Qt does not support
// exceptions that cross its event delivery, so every handler a window connects to a
// signal is wrapped by Guarded: an error that escapes it is handed to an error sink
// (ShowErrorBox, or the graph window's own error dialog) and the event loop goes on.
// ZentuApplication::notify catches what still escapes (key, paint and filter handlers)
// as a last resort.
#pragma once

#include <QApplication>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <utility>

class QWidget;

namespace zentu::ui {

// The application title: caption of the plain message boxes and of the error box.
inline constexpr const char* kApplicationTitle = "Zentu Scientific Calculator";
QString ApplicationTitle();

// Loads Qt's Turkish translation (qtbase_tr from Qt's translations folder), so that the texts
// Qt itself shows are Turkish too: the buttons of message boxes ("Tamam"), the edit menu of
// text fields ("Geri al" ...), the file and colour dialogs. Call once at start-up, before the
// first window is created. False when the translation is not installed; Qt's English
// texts stay then.
bool LoadToolkitTranslation();

// Where a window's frame goes that should stand at `frame` on a screen whose available area
// (the screen without panels and docks) is `area`: moved inside the area along each axis,
// and against the area's left or top edge along an axis where the frame is larger than the
// area, so that its title bar and its top-left corner are always on screen.
QPoint KeepInside(const QRect& frame, const QRect& area);

// The text of the error box: the message, with "." appended when its last character has
// a code above that of ".".
QString ErrorBoxText(const QString& message);

// Shows the general error box (application title, error icon, one OK button) and returns
// when the user has closed it.
void ShowErrorBox(QWidget* parent, const QString& message);

// Where an error that escaped a handler goes: the window it escaped in and its message.
using ErrorSink = std::function<void(QWidget* parent, const QString& message)>;

// The message of the exception being handled; call it only inside a catch block. A
// std::exception gives its text, an exhausted memory "Yetersiz bellek", anything else
// "Beklenmeyen hata".
QString CaughtErrorMessage();

// Runs f; an error that escapes it goes to `sink`, and the program goes on.
template <class F>
void RunGuarded(QWidget* parent, const ErrorSink& sink, F&& f) {
    try {
        std::forward<F>(f)();
    } catch (...) {
        sink(parent, CaughtErrorMessage());
    }
}

// A handler to connect to a signal: each call runs f through RunGuarded. The signal's
// arguments are not passed on (read them from the sender).
template <class F>
auto Guarded(QWidget* parent, ErrorSink sink, F f) {
    return [parent, sink = std::move(sink), f = std::move(f)] { RunGuarded(parent, sink, f); };
}

// The application object. An error that escapes an event handler not wrapped by Guarded
// (key and paint handlers, event filters) is caught here, shown in the error box, and
// the event loop goes on.
class ZentuApplication : public QApplication {
  public:
    ZentuApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zentu::ui

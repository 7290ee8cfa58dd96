// SPDX-License-Identifier: GPL-3.0-or-later
// Program-wide pieces of the desktop program, used by every window: the application title,
// the toolkit's own texts in Turkish, window placement on the screen, the general error box
// and the guard that routes every error escaping a handler into it.
#pragma once

#include <QApplication>
#include <QPoint>
#include <QRect>
#include <QString>
#include <exception>
#include <utility>

class QWidget;

namespace zentu::ui {

// The application title: caption of the plain message boxes and of the error box.
inline constexpr const char* kApplicationTitle = "Zentu Scientific Calculator";
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

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

// Runs f; an error that escapes it is shown in the error box and the program goes on.
template <class F>
void RunGuarded(QWidget* parent, F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const std::exception& e) {
        ShowErrorBox(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(parent, QStringLiteral("Beklenmeyen hata"));
    }
}

// Wraps a handler so that connecting it to a signal keeps the guard.
template <class F>
auto Guarded(QWidget* parent, F f) {
    return [parent, f = std::move(f)]() { RunGuarded(parent, f); };
}

// The application object. Errors thrown from an event handler that is not wrapped by
// Guarded (key and paint handlers, event filters) are caught here and shown in the
// error box before the event loop goes on.
class ZentuApplication : public QApplication {
  public:
    ZentuApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zentu::ui

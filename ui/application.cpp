// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <new>

namespace zentu::ui {

QString ApplicationTitle() {
    return QString::fromUtf8(kApplicationTitle);
}

bool LoadToolkitTranslation() {
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_tr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QPoint KeepInside(const QRect& frame, const QRect& area) {
    // The far edge first, then the near one, so that the near edge wins when the frame is
    // larger than the area.
    const auto inside = [](int start, int size, int area_start, int area_size) {
        return std::max(std::min(start, area_start + area_size - size), area_start);
    };
    return {inside(frame.x(), frame.width(), area.x(), area.width()),
            inside(frame.y(), frame.height(), area.y(), area.height())};
}

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

void ShowErrorBox(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message),
                    QMessageBox::Ok, parent);
    box.exec();
}

QString CaughtErrorMessage() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Yetersiz bellek");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Beklenmeyen hata");
    }
}

ZentuApplication::ZentuApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZentuApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunGuarded(activeWindow(), ShowErrorBox,
               [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace zentu::ui

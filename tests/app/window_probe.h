// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper: measures what a window shows. Each caption (the text of a label, button,
// check box, group box, edit or memo) is found by rendering its area twice, with the text
// and without it: the pixels that differ are the text, and what stood there without the
// text is its background. From that come the caption's contrast against its background
// and its ink (how much the text darkens or lightens the area, which tells a bold face
// from a regular one). Captions that do not fit their controls are listed by geometry.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>

#include "graph/graph_controls.h"

namespace probe {

// Relative luminance and contrast ratio as the accessibility guidelines define them.
inline double Luminance(const QColor& c) {
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

inline double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A caption: the widget that draws it, its text and a way to put another text in.
struct Caption {
    QWidget* widget = nullptr;
    QString text;
    std::function<void(const QString&)> set;
};

inline QString Describe(const QWidget* w, const QString& text) {
    const QString name = w->objectName().isEmpty()
                             ? QString::fromLatin1(w->metaObject()->className())
                             : w->objectName();
    return name + QStringLiteral(" \"") + text.left(30) + u'"';
}

// The enabled captions that would be visible when `window` is shown (disabled controls
// are left out: their faded text is meant to read as unavailable).
inline QList<Caption> Captions(QWidget* window) {
    QList<Caption> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window) || !w->isEnabled()) continue;
        Caption c;
        c.widget = w;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            c.text = label->text();
            c.set = [label](const QString& t) { label->setText(t); };
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            c.text = button->text();
            c.set = [button](const QString& t) { button->setText(t); };
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            c.text = group->title();
            c.set = [group](const QString& t) { group->setTitle(t); };
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            c.text = edit->text();
            c.set = [edit](const QString& t) { edit->setText(t); };
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            c.text = memo->toPlainText();
            c.set = [memo](const QString& t) { memo->setPlainText(t); };
        } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
            // The text goes back with its paragraph formats, in the widget's own font.
            c.text = rich->toPlainText();
            const QTextDocumentFragment content(rich->document());
            c.set = [rich, content](const QString& t) {
                rich->clear();
                if (!t.isEmpty()) QTextCursor(rich->document()).insertFragment(content);
            };
        }
        if (!c.text.isEmpty()) out.append(c);
    }
    return out;
}

// The caption's area of the window rendered with and without its text.
struct CaptionRender {
    QImage with, without;
};

inline CaptionRender Render(QWidget* window, const Caption& c) {
    const QRect area(c.widget->mapTo(window, QPoint(0, 0)), c.widget->size());
    CaptionRender r;
    r.with = window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    c.set(QString());
    r.without = window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    c.set(c.text);
    return r;
}

// The best contrast of a text pixel against the background behind it: the cores of the
// strokes, where the text reaches its full colour. 0 when no text pixel was drawn.
inline double TextContrast(const CaptionRender& r) {
    double best = 0;
    for (int y = 0; y < r.with.height(); ++y)
        for (int x = 0; x < r.with.width(); ++x) {
            const QRgb a = r.with.pixel(x, y), b = r.without.pixel(x, y);
            if (a != b) best = std::max(best, Contrast(QColor(a), QColor(b)));
        }
    return best;
}

// How far the text moves the pixels from their background, summed (in units of full
// luminance change): a bold face puts more ink down than the regular face of the same text.
inline double Ink(const CaptionRender& r) {
    double ink = 0;
    for (int y = 0; y < r.with.height(); ++y)
        for (int x = 0; x < r.with.width(); ++x)
            ink += std::fabs(Luminance(QColor(r.with.pixel(x, y))) -
                             Luminance(QColor(r.without.pixel(x, y))));
    return ink;
}

// Captions that do not fit: button and check box texts wider than the room the style
// gives them, labels that leave their container's frame or run into a neighbouring
// control, group titles wider than the box, read-only label edits wider than their
// field and tabs beyond their bar. Each entry names the control and the shortfall.
inline QStringList Overflows(QWidget* window) {
    QStringList out;
    const auto report = [&out](const QWidget* w, const QString& text, int excess) {
        if (excess > 0) out << Describe(w, text) + QStringLiteral(" by %1 px").arg(excess);
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window)) continue;
        const QFontMetrics fm(w->font());
        if (auto* wrap = qobject_cast<zentu::TWrapButton*>(w)) {
            const QRect room = wrap->rect().adjusted(3, 3, -3, -3);
            const QRect used =
                fm.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, wrap->text());
            report(w, wrap->text(),
                   std::max(used.width() - room.width(), used.height() - room.height()));
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            QStyleOptionButton option;
            option.initFrom(check);
            option.text = check->text();
            const QRect room =
                check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
            report(w, check->text(), fm.horizontalAdvance(check->text()) - room.width());
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            if (button->text().isEmpty()) continue;
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            report(w, button->text(), fm.horizontalAdvance(button->text()) - room.width());
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            const QWidget* parent = label->parentWidget();
            const QRect text(
                label->mapToParent(label->contentsRect().topLeft()),
                QSize(fm.horizontalAdvance(label->text()), label->contentsRect().height()));
            // Inside the container, clear of its two-pixel frame.
            report(w, label->text(), text.right() - (parent->width() - 3));
            for (const QObject* o : parent->children()) {
                const auto* sibling = qobject_cast<const QWidget*>(o);
                if (sibling == nullptr || sibling == label || !sibling->isVisibleTo(window) ||
                    qobject_cast<const QLabel*>(sibling) != nullptr)
                    continue;
                const QRect overlap = text.intersected(sibling->geometry());
                if (!overlap.isEmpty())
                    out << Describe(w, label->text()) + QStringLiteral(" runs into ") +
                               Describe(sibling, QString());
            }
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            // The title starts 8 pixels in and needs the frame's corner on the right.
            report(w, group->title(), 8 + fm.horizontalAdvance(group->title()) + 4 - w->width());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (!edit->isReadOnly() || edit->text().isEmpty()) continue;
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.lineWidth = edit->hasFrame() ? 1 : 0;
            const QRect room =
                edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
            // QLineEdit keeps two pixels on each side of its text.
            report(w, edit->text(), fm.horizontalAdvance(edit->text()) - (room.width() - 4));
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                report(w, tabs->tabText(i), tabs->tabRect(i).right() - (tabs->width() - 1));
        }
    }
    return out;
}

}  // namespace probe

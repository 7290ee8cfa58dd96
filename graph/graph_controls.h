// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own small controls: colour buttons, a button with a wrapping caption,
// group boxes in the classic look and the paint box that shows the kept plot image.
#pragma once

#include <QColor>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QWidget>

namespace zentu {

// A button that shows a colour and lets the user choose another one.
class TColorButton : public QPushButton {
    Q_OBJECT
  public:
    explicit TColorButton(QWidget* parent = nullptr);
    QColor color() const { return color_; }
    void setColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_{0, 0, 0};
};

// A push button whose caption breaks into lines where it does not fit.
class TWrapButton : public QPushButton {
    Q_OBJECT
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A group box whose frame line runs through the middle of its caption and whose colour
// fills the whole box.
class TGroupBox : public QGroupBox {
    Q_OBJECT
  public:
    using QGroupBox::QGroupBox;

    // The caption's colour; the palette's window text until one is set. Set on its own, it
    // is not handed down to the controls in the box as a palette colour would be.
    void setCaptionColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor captionColor_;
};

// The plot area: shows the kept image.
class TPaintBox : public QWidget {
    Q_OBJECT
  public:
    TPaintBox(const QImage& image, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QImage& image_;
};

}  // namespace zentu
